#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class QSettings;

namespace kivo {

// A value of the profile with its name and the default it has when it is
// absent or unreadable.
struct IntSetting {
    const char* name;
    int defaultValue;
};
struct StringSetting {
    const char* name;
    const char* defaultValue;
};

// Every value the program keeps between runs, in group "System".
namespace setting {
// The main window's normal rectangle; x = -1 (absent) lets the window
// manager place the window and marks the first run.
inline constexpr IntSetting kX{"x", -1};
inline constexpr IntSetting kY{"y", -1};
inline constexpr IntSetting kCx{"cx", 400};
inline constexpr IntSetting kCy{"cy", 250};
// The rest of the window placement: written on close, never read.
inline constexpr IntSetting kFlags{"Flags", 0};
inline constexpr IntSetting kShowCmd{"ShowCmd", 0};
inline constexpr IntSetting kMinPosX{"MinPosX", 0};
inline constexpr IntSetting kMinPosY{"MinPosY", 0};
inline constexpr IntSetting kMaxPosX{"MaxPosX", 0};
inline constexpr IntSetting kMaxPosY{"MaxPosY", 0};
inline constexpr IntSetting kNorPosTop{"NorPosTop", 0};
inline constexpr IntSetting kNorPosBottom{"NorPosBottom", 0};
inline constexpr IntSetting kNorPosLeft{"NorPosLeft", 0};
inline constexpr IntSetting kNorPosRight{"NorPosRight", 0};
// Volume slider, 0 loudest to 100 silent.
inline constexpr IntSetting kVolumePos{"VolumePos", 50};
// 1 once the scenario file type has been registered.
inline constexpr IntSetting kFileType{"FileType", 0};
// List view mode (0 large icons, 1 details, 2 small icons, 3 list) and the
// automatic arrangement bit as stored (0 or 256).
inline constexpr IntSetting kType{"type", 0};
inline constexpr IntSetting kAutoArrange{"AutoArrange", 0};
inline constexpr std::array<IntSetting, 6> kColumnWidths = {{
    {"col0", 256}, {"col1", 64}, {"col2", 64}, {"col3", 64}, {"col4", 64}, {"col5", 96},
}};
// The open-media-files dialog.
inline constexpr StringSetting kOpenFileDir{"OpenFileDir", ""};
inline constexpr IntSetting kOpenFileFilterIndex{"OpenFileFilterIndex", 0};
// The media search: the kinds of file searched for and the drive or
// folder, as the text of its entry in the drive list.
inline constexpr IntSetting kMediaMpg{"mediampg", 1};
inline constexpr IntSetting kMediaVcd{"mediavcd", 0};
inline constexpr IntSetting kMediaAvi{"mediaavi", 1};
inline constexpr IntSetting kMediaMov{"mediamov", 1};
inline constexpr IntSetting kMediaWav{"mediawav", 1};
inline constexpr IntSetting kMediaAu{"mediaau", 1};
inline constexpr IntSetting kMediaAif{"mediaaif", 1};
inline constexpr IntSetting kMediaMp3{"mediamp3", 0};
inline constexpr IntSetting kMediaRa{"mediara", 0};
inline constexpr IntSetting kMediaMidi{"mediamidi", 1};
inline constexpr IntSetting kMediaAll{"mediaall", 0};
inline constexpr StringSetting kMediaPath{"mediapath", "/"};
// Today's kinds of media file have their keys beside their other facts
// (cutlist/TodaysMediaKinds.h).
// The player window's options.
inline constexpr IntSetting kAutoRewind{"AutoRewind", 0};
inline constexpr IntSetting kRepeat{"Repeat", 0};
inline constexpr IntSetting kRepeatList{"RepeatList", 0};
inline constexpr IntSetting kZoom{"Zoom", 0};
}  // namespace setting

// The user's profile: an INI file in the XDG configuration folder
// (KivoProject/Kivo231.ini). A value that is absent or cannot be read gives
// its default; a write that fails is ignored.
class Settings {
public:
    static constexpr int kRecentFileCount = 4;

    Settings();
    // A profile kept in `iniFile` instead of the user's.
    explicit Settings(const QString& iniFile);
    ~Settings();

    int Get(IntSetting value) const;
    void Set(IntSetting value, int number);
    QString Get(StringSetting value) const;
    void Set(StringSetting value, const QString& text);

    // The main window's bar layout ("BarStete").
    QByteArray GetBarState() const;
    void SetBarState(const QByteArray& state);

    // The scenario files last opened or saved, the latest first.
    QStringList GetRecentFiles() const;
    void SetRecentFiles(const QStringList& files);
    // Puts a file at the head of the recent-file list (once).
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);

    QString FileName() const;
    // Writes pending changes to disk (also done on destruction).
    void Sync();

private:
    std::unique_ptr<QSettings> m_settings;
};

}  // namespace kivo
