#include "session/Mpris.h"

#include "cutlist/AddingMedia.h"
#include "session/RemoteRequests.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace kivo {
namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.kivo");
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");

constexpr qlonglong kMicroseconds = kMicrosecondsPerHundredth;

QString TrackId(const MprisTrack& track)
{
    return track.slot < 0 ? kNoTrack : QStringLiteral("/org/kivo/track/%1").arg(track.slot);
}

}  // namespace

// org.mpris.MediaPlayer2: the program as a whole.
class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)

public:
    explicit MprisRootAdaptor(MprisService& service) : QDBusAbstractAdaptor(&service), m_service(service) {}

    bool CanQuit() const { return true; }
    bool CanRaise() const { return true; }
    bool HasTrackList() const { return false; }
    QString Identity() const { return QStringLiteral("Kivo"); }
    QString DesktopEntry() const { return QStringLiteral("kivo"); }
    QStringList SupportedUriSchemes() const { return {QStringLiteral("file")}; }
    // The media the cut list takes.
    QStringList SupportedMimeTypes() const { return MediaMimeTypes(); }

public slots:
    void Raise() { m_service.Later([this] { m_service.Raise(); }); }
    void Quit() { m_service.Later([this] { m_service.Quit(); }); }

private:
    MprisService& m_service;
};

// org.mpris.MediaPlayer2.Player: the playback of the cut list.
class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(QString LoopStatus READ LoopStatus WRITE SetLoopStatus)
    Q_PROPERTY(double Rate READ Rate WRITE SetRate)
    Q_PROPERTY(bool Shuffle READ Shuffle WRITE SetShuffle)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(double MinimumRate READ MinimumRate)
    Q_PROPERTY(double MaximumRate READ MaximumRate)
    Q_PROPERTY(bool CanGoNext READ CanGoNext)
    Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
    Q_PROPERTY(bool CanPlay READ CanPlay)
    Q_PROPERTY(bool CanPause READ CanPause)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)

public:
    explicit MprisPlayerAdaptor(MprisService& service) : QDBusAbstractAdaptor(&service), m_service(service)
    {
        setAutoRelaySignals(true);
    }

    QString PlaybackStatus() const { return Property(u"PlaybackStatus").toString(); }
    QString LoopStatus() const { return Property(u"LoopStatus").toString(); }
    void SetLoopStatus(const QString& status) { m_service.Later([this, status] { m_service.SetLoopStatus(status); }); }
    double Rate() const { return Property(u"Rate").toDouble(); }
    void SetRate(double rate) { m_service.Later([this, rate] { m_service.SetRate(rate); }); }
    bool Shuffle() const { return Property(u"Shuffle").toBool(); }
    void SetShuffle(bool on) { m_service.Later([this, on] { m_service.SetShuffle(on); }); }
    QVariantMap Metadata() const { return Property(u"Metadata").toMap(); }
    double Volume() const { return Property(u"Volume").toDouble(); }
    void SetVolume(double volume) { m_service.Later([this, volume] { m_service.SetVolume(volume); }); }
    qlonglong Position() const { return m_service.Position(); }
    double MinimumRate() const { return kMinimumRemoteRate; }
    double MaximumRate() const { return kMaximumRemoteRate; }
    bool CanGoNext() const { return Property(u"CanGoNext").toBool(); }
    bool CanGoPrevious() const { return Property(u"CanGoPrevious").toBool(); }
    bool CanPlay() const { return Property(u"CanPlay").toBool(); }
    bool CanPause() const { return Property(u"CanPause").toBool(); }
    bool CanSeek() const { return Property(u"CanSeek").toBool(); }
    bool CanControl() const { return true; }

public slots:
    void Next() { m_service.Later([this] { m_service.Next(); }); }
    void Previous() { m_service.Later([this] { m_service.Previous(); }); }
    void Pause() { m_service.Later([this] { m_service.Pause(); }); }
    void PlayPause() { m_service.Later([this] { m_service.PlayPause(); }); }
    void Stop() { m_service.Later([this] { m_service.Stop(); }); }
    void Play() { m_service.Later([this] { m_service.Play(); }); }
    void Seek(qlonglong offset) { m_service.Later([this, offset] { m_service.Seek(offset); }); }
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position)
    {
        m_service.Later([this, trackId, position] { m_service.SetPosition(trackId.path(), position); });
    }
    void OpenUri(const QString& uri) { m_service.Later([this, uri] { m_service.OpenUri(uri); }); }

signals:
    void Seeked(qlonglong position);

private:
    QVariant Property(QStringView name) const { return m_service.PlayerProperty(name); }

    MprisService& m_service;
};

MprisService::MprisService(MprisHost& host, const QString& artFolder, QObject* parent)
    : QObject(parent), m_host(host), m_artFolder(artFolder)
{
    new MprisRootAdaptor(*this);
    new MprisPlayerAdaptor(*this);
}

MprisService::~MprisService()
{
    if (!m_serviceName.isEmpty()) {
        m_connection.unregisterObject(kObjectPath);
        m_connection.unregisterService(m_serviceName);
    }
}

bool MprisService::Register(QDBusConnection connection)
{
    if (!connection.isConnected() || !connection.registerObject(kObjectPath, this))
        return false;
    for (const QString& name :
         {kServiceName, kServiceName + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid())}) {
        if (connection.registerService(name)) {
            m_connection = connection;
            m_serviceName = name;
            m_announced = PlayerProperties();
            return true;
        }
    }
    connection.unregisterObject(kObjectPath);
    return false;
}

QVariantMap MprisService::PlayerProperties()
{
    static const char16_t* const announced[] = {u"PlaybackStatus", u"LoopStatus", u"Shuffle",   u"Rate",      u"Volume",
                                                u"Metadata",       u"CanGoNext",  u"CanGoPrevious",
                                                u"CanPlay",        u"CanPause",   u"CanSeek"};
    const MprisFacts facts = m_host.Facts();
    QVariantMap properties;
    for (const char16_t* name : announced)
        properties.insert(QString::fromUtf16(name), PlayerProperty(facts, name));
    return properties;
}

QVariant MprisService::PlayerProperty(QStringView name)
{
    return PlayerProperty(m_host.Facts(), name);
}

QVariant MprisService::PlayerProperty(const MprisFacts& facts, QStringView name)
{
    if (name == u"PlaybackStatus") {
        if (facts.state == PlayState::Playing)
            return QStringLiteral("Playing");
        return facts.state == PlayState::Paused ? QStringLiteral("Paused") : QStringLiteral("Stopped");
    }
    if (name == u"LoopStatus") {
        // Repeating the object wins: the list never moves on.
        if (facts.repeat)
            return QStringLiteral("Track");
        return facts.repeatList ? QStringLiteral("Playlist") : QStringLiteral("None");
    }
    if (name == u"Shuffle")
        return facts.shuffled;
    if (name == u"Rate")
        return facts.speed / 100.0;
    if (name == u"Volume")
        return (100 - facts.volume) / 100.0;
    if (name == u"Metadata")
        return Metadata(facts.track);
    if (name == u"CanGoNext")
        return facts.canNext;
    if (name == u"CanGoPrevious")
        return facts.canPrevious;
    if (name == u"CanPlay")
        return facts.canPlay;
    if (name == u"CanPause")
        return facts.canPause;
    if (name == u"CanSeek")
        return facts.state != PlayState::Empty && facts.track.length > 0;
    return {};
}

void MprisService::Refresh()
{
    if (m_serviceName.isEmpty())
        return;
    const QVariantMap now = PlayerProperties();
    QVariantMap changed;
    for (auto property = now.begin(); property != now.end(); ++property) {
        if (m_announced.value(property.key()) != property.value())
            changed.insert(property.key(), property.value());
    }
    m_announced = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    m_connection.send(signal);
}

void MprisService::Later(std::function<void()> request)
{
    // What the request changed is announced at once.
    QMetaObject::invokeMethod(
        this,
        [this, request = std::move(request)] {
            request();
            Refresh();
        },
        Qt::QueuedConnection);
}

void MprisService::AnnounceSeek(int hundredths)
{
    if (auto* player = findChild<MprisPlayerAdaptor*>())
        emit player->Seeked(hundredths * kMicroseconds);
}

qlonglong MprisService::Position() const
{
    return m_host.Facts().position * kMicroseconds;
}

void MprisService::SetLoopStatus(const QString& status)
{
    // One of the two switches at most, as the remote control knows one loop.
    const bool track = status == QStringLiteral("Track");
    const bool playlist = status == QStringLiteral("Playlist");
    if (!track && !playlist && status != QStringLiteral("None"))
        return;
    const MprisFacts facts = m_host.Facts();
    if (facts.repeat != track)
        m_host.Run(Command::Repeat);
    if (facts.repeatList != playlist)
        m_host.Run(Command::RepeatList);
}

void MprisService::SetShuffle(bool on)
{
    // The random order is given once; there is no order to go back to.
    if (on && !m_host.Facts().shuffled)
        m_host.Run(Command::Shuffle);
}

void MprisService::SetRate(double rate)
{
    const std::optional<RateRequest> request = RateRequestFor(rate);
    if (!request)
        return;
    if (request->pause)
        Pause();
    else
        m_host.SetSpeed(request->hundredths);
}

void MprisService::SetVolume(double volume)
{
    if (const std::optional<int> bar = VolumeBarFor(volume))
        m_host.SetVolume(*bar);
}

void MprisService::Play()
{
    if (m_host.Facts().state != PlayState::Playing)
        m_host.Run(Command::PlayPause);
}

void MprisService::Pause()
{
    if (m_host.Facts().state == PlayState::Playing)
        m_host.Run(Command::Pause);
}

void MprisService::PlayPause()
{
    m_host.Run(m_host.Facts().state == PlayState::Playing ? Command::Pause : Command::PlayPause);
}

void MprisService::Stop()
{
    m_host.Run(Command::Stop);
}

void MprisService::Seek(qlonglong offset)
{
    const MprisFacts facts = m_host.Facts();
    if (facts.state == PlayState::Empty)
        return;
    // Beyond the end is the next object, as the remote control expects.
    const PositionRequest request = SeekByOffset(facts.position, facts.track.length, offset);
    if (request.kind == PositionRequest::Kind::Next)
        Next();
    else
        m_host.SeekTo(request.hundredths);
}

void MprisService::SetPosition(const QString& trackId, qlonglong position)
{
    const MprisFacts facts = m_host.Facts();
    // A request about an object no longer played comes too late.
    if (facts.state == PlayState::Empty || trackId != TrackId(facts.track))
        return;
    if (const std::optional<int> hundredths = SeekToPosition(facts.track.length, position))
        m_host.SeekTo(*hundredths);
}

bool MprisService::OpenUri(const QString& uri)
{
    const std::optional<OpenRequest> request = OpenRequestFor(uri);
    if (!request)
        return false;
    if (request->asDocument)
        m_host.OpenDocument(request->path);
    else
        m_host.OpenFile(request->path);
    return true;
}

QVariantMap MprisService::Metadata(const MprisTrack& track)
{
    QVariantMap metadata{{QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(TrackId(track)))}};
    if (track.slot < 0)
        return metadata;
    metadata.insert(QStringLiteral("mpris:length"), qlonglong{track.length} * kMicroseconds);
    const MediaTags& tags = track.tags;
    // A name that is the whole path says the file's name.
    const QString name = track.title == track.path ? QFileInfo(track.path).fileName() : track.title;
    metadata.insert(QStringLiteral("xesam:title"), tags.title.isEmpty() ? name : tags.title);
    if (!tags.artist.isEmpty())
        metadata.insert(QStringLiteral("xesam:artist"), QStringList{tags.artist});
    if (!tags.album.isEmpty())
        metadata.insert(QStringLiteral("xesam:album"), tags.album);
    if (!tags.genre.isEmpty())
        metadata.insert(QStringLiteral("xesam:genre"), QStringList{tags.genre});
    if (tags.trackNumber > 0)
        metadata.insert(QStringLiteral("xesam:trackNumber"), tags.trackNumber);
    metadata.insert(QStringLiteral("xesam:url"), QString::fromUtf8(QUrl::fromLocalFile(track.path).toEncoded()));
    if (const QString art = ArtUrl(track); !art.isEmpty())
        metadata.insert(QStringLiteral("mpris:artUrl"), art);
    return metadata;
}

QString MprisService::ArtUrl(const MprisTrack& track)
{
    // The file's own cover, else the object's picture in the list.
    const bool cover = !track.tags.cover.isNull();
    if (track.slot == m_artSlot && track.path == m_artPath && cover == m_artIsCover)
        return m_artUrl;
    m_artSlot = track.slot;
    m_artPath = track.path;
    m_artIsCover = cover;
    m_artUrl.clear();
    const QImage& picture = cover ? track.tags.cover : track.picture;
    if (picture.isNull() || m_artFolder.isEmpty() || !QDir().mkpath(m_artFolder))
        return m_artUrl;
    // One file per object, file and kind of picture, so that a remote
    // control that keeps the address never shows another one.
    const QByteArray key = QCryptographicHash::hash(track.path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    const QString path = QDir(m_artFolder).filePath(
        QStringLiteral("%1-%2%3.png").arg(track.slot).arg(QLatin1String(key), cover ? QStringLiteral("-cover") : QString()));
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.commit())
        m_artUrl = QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded());
    return m_artUrl;
}

}  // namespace kivo

#include "Mpris.moc"
