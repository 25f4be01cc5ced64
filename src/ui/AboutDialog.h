#pragma once

#include <QDialog>

namespace kivo {

// The version dialog: the program's icon, its version and its web address,
// which can be selected and copied but not changed.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace kivo
