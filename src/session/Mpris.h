#pragma once

#include "core/Commands.h"
#include "core/PlayState.h"
#include "media/MediaTags.h"

#include <QDBusConnection>
#include <QImage>
#include <QObject>
#include <QVariantMap>

#include <functional>

namespace kivo {

// The object being played, as the desktop's remote control sees it.
struct MprisTrack {
    int slot = -1;  // -1: no object
    QString title;  // the object's name in the list
    QString path;
    int length = 0;  // 1/100 s
    QImage picture;
    // What the medium's tags say, once it plays: its own title and cover
    // stand before the list's.
    MediaTags tags;
};

// What the remote control shows of the program.
struct MprisFacts {
    PlayState state = PlayState::Empty;
    bool repeat = false;
    bool repeatList = false;
    // The list is in the random order it was last given.
    bool shuffled = false;
    int speed = 100;   // hundredths
    int volume = 0;    // the volume bar's scale: 0 loudest .. 100 silent
    int position = 0;  // 1/100 s
    MprisTrack track;
    bool canNext = false;
    bool canPrevious = false;
    bool canPlay = false;
    bool canPause = false;
};

// The program's side of the remote control: its facts, and its commands,
// bars and windows. Commands go through the command table, so that a
// disabled command does nothing.
class MprisHost {
public:
    virtual ~MprisHost() = default;
    virtual MprisFacts Facts() const = 0;
    // Runs the command when it is enabled; false otherwise.
    virtual bool Run(Command command) = 0;
    virtual void Raise() = 0;
    // As the volume and speed bars and the position slider do.
    virtual void SetVolume(int volume) = 0;
    virtual void SetSpeed(int hundredths) = 0;
    virtual void SeekTo(int hundredths) = 0;
    // Adds the file to the cut list and plays it.
    virtual void OpenFile(const QString& path) = 0;
    // Opens a scenario or a playlist as the document, as a drop of one does.
    virtual void OpenDocument(const QString& path) = 0;
};

// Serves the MPRIS 2.2 remote control (org.mpris.MediaPlayer2 and its
// Player interface) at /org/mpris/MediaPlayer2 on a D-Bus connection, for
// the desktop's media keys and shell controls.
class MprisService : public QObject {
    Q_OBJECT

public:
    // `artFolder`: where the objects' pictures are written for the
    // remote control to show.
    MprisService(MprisHost& host, const QString& artFolder, QObject* parent = nullptr);
    ~MprisService() override;

    // Takes the bus name org.mpris.MediaPlayer2.kivo, or, when another
    // instance has it, org.mpris.MediaPlayer2.kivo.instance<pid>; false
    // when the connection is not there or takes neither.
    bool Register(QDBusConnection connection);
    QString ServiceName() const { return m_serviceName; }

    // Compares the facts with those last announced and announces the
    // properties that changed.
    void Refresh();
    // The position jumped: announced with the Seeked signal.
    void AnnounceSeek(int hundredths);
    // Carries out a request once its caller has had its answer: a request
    // may bring up a message or a question, which must not keep the
    // desktop waiting for the reply.
    void Later(std::function<void()> request);

    // The interfaces' properties and methods, from the program's facts of
    // the moment: the player's properties that are announced when they
    // change, or one of them.
    QVariantMap PlayerProperties();
    QVariant PlayerProperty(QStringView name);
    qlonglong Position() const;
    void SetLoopStatus(const QString& status);
    void SetShuffle(bool on);
    void SetRate(double rate);
    void SetVolume(double volume);
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next() { m_host.Run(Command::Next); }
    void Previous() { m_host.Run(Command::Previous); }
    void Seek(qlonglong offset);
    void SetPosition(const QString& trackId, qlonglong position);
    bool OpenUri(const QString& uri);
    void Raise() { m_host.Raise(); }
    void Quit() { m_host.Run(Command::Exit); }

private:
    QVariant PlayerProperty(const MprisFacts& facts, QStringView name);
    QVariantMap Metadata(const MprisTrack& track);
    // The picture of the object, written once per object.
    QString ArtUrl(const MprisTrack& track);

    MprisHost& m_host;
    QString m_artFolder;
    QDBusConnection m_connection{QString()};
    QString m_serviceName;
    // The player's properties as last announced.
    QVariantMap m_announced;
    QString m_artUrl;
    int m_artSlot = -1;
    QString m_artPath;
    bool m_artIsCover = false;
};

}  // namespace kivo
