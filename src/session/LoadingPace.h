#pragma once

#include <QString>

namespace kivo {

// The pace of a loading run, from the files added so far: files per second
// and the time the rest will take at that rate.
class LoadingPace {
public:
    // A run of `total` files begins `milliseconds` into some clock's count.
    void Start(int total, qint64 milliseconds);
    // `done` files have been added by `milliseconds`.
    void Update(int done, qint64 milliseconds);
    // "12.3 ファイル/秒　残り 0:42"; empty until two files and half a second
    // have passed, which is the least the figures mean anything after.
    QString Text() const;

private:
    int m_total = 0;
    int m_done = 0;
    qint64 m_start = 0;
    qint64 m_elapsed = 0;
};

}  // namespace kivo
