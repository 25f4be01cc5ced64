#pragma once

class QApplication;

namespace kivo {

// What the program sets up before its windows: its names, which place the
// profile, and the Japanese texts of Qt's own buttons and dialogs.
void SetUpApplication(QApplication& application);

}  // namespace kivo
