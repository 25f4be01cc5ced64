// The remote control on a private session bus (the tests run under
// dbus-run-session), driven by a second connection as a desktop would. A
// second instance's own name, the status, loop and volume that follow the
// program, Play, Next, Pause, a stale SetPosition and Quit are the
// end-to-end test remote-control's.

#include "session/Mpris.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <limits>

namespace kivo {
namespace {

// The program's side: its commands, and its other requests as text.
class FakeHost : public MprisHost {
public:
    MprisFacts Facts() const override { return facts; }
    bool Run(Command command) override { return commands.push_back(command), true; }
    void Raise() override { requests << "raise"; }
    void SetVolume(int volume) override { requests << QStringLiteral("volume %1").arg(volume); }
    void SetSpeed(int hundredths) override { requests << QStringLiteral("speed %1").arg(hundredths); }
    void SeekTo(int hundredths) override { requests << QStringLiteral("seek %1").arg(hundredths); }
    void OpenFile(const QString& path) override { requests << "open " + path; }
    void OpenDocument(const QString& path) override { requests << "document " + path; }

    MprisFacts facts;
    std::vector<Command> commands;
    QStringList requests;
};

// Signals the client has seen from the service.
class Listener : public QObject {
    Q_OBJECT

public:
    std::vector<QVariantMap> changes;
    std::vector<qlonglong> seeks;

public slots:
    void OnPropertiesChanged(const QString&, const QVariantMap& changed, const QStringList&) { changes.push_back(changed); }
    void OnSeeked(qlonglong position) { seeks.push_back(position); }
};

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.kivo");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

class RemoteControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(client.isConnected()) << "no session bus: run under dbus-run-session";
        host.facts.state = PlayState::Stopped;
        host.facts.track = {4, QStringLiteral("名前"), QStringLiteral("/m/a clip é.mpg"), 1234, QImage(), {}};
        ASSERT_TRUE(service.Register(QDBusConnection::sessionBus()));
    }

    // A call from the client; its reply once it has come.
    QDBusMessage Call(const QString& interface, const QString& method, const QVariantList& arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, interface, method);
        message.setArguments(arguments);
        const QDBusPendingCall call = client.asyncCall(message);
        EXPECT_TRUE(QTest::qWaitFor([&] { return call.isFinished(); }, 5000));
        // The service carries a request out after its reply.
        QCoreApplication::sendPostedEvents();
        return call.reply();
    }
    QVariant Get(const QString& property)
    {
        const QDBusMessage reply = Call(kProperties, QStringLiteral("Get"), {kPlayer, property});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    void Set(const QString& property, const QVariant& value)
    {
        Call(kProperties, QStringLiteral("Set"), {kPlayer, property, QVariant::fromValue(QDBusVariant(value))});
    }
    void SetPosition(int track, qlonglong position)
    {
        Call(kPlayer, QStringLiteral("SetPosition"), {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/kivo/track/%1").arg(track))), position});
    }

    QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client"));
    FakeHost host;
    QTemporaryDir art;
    MprisService service{host, art.filePath(QStringLiteral("art"))};
};

TEST_F(RemoteControl, ShowsTheObjectPlayedWithItsPicture)
{
    host.facts.speed = 150;
    EXPECT_DOUBLE_EQ(Get(QStringLiteral("Rate")).toDouble(), 1.5);
    QVariantMap metadata;
    const auto read = [&] { Get(QStringLiteral("Metadata")).value<QDBusArgument>() >> metadata; };
    const auto text = [&](const char* key) { return metadata.value(QLatin1String(key)).toString(); };
    const auto picture = [&] { return QImage(QUrl(text("mpris:artUrl")).toLocalFile()).pixel(0, 0); };
    read();
    // No picture yet.
    EXPECT_EQ(std::tuple(metadata.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(), metadata.value(QStringLiteral("mpris:length")).toLongLong(),
                         text("xesam:title"), text("xesam:url"), metadata.contains(QStringLiteral("mpris:artUrl"))),
              std::tuple("/org/kivo/track/4", 12'340'000, "名前", "file:///m/a%20clip%20%C3%A9.mpg", false));

    // The picture is written once per object, under the cache folder.
    host.facts.track.slot = 5;
    host.facts.track.picture = QImage(64, 48, QImage::Format_RGB32);
    host.facts.track.picture.fill(Qt::red);
    read();
    EXPECT_TRUE(text("mpris:artUrl").startsWith(QUrl::fromLocalFile(art.path()).toString()));
    EXPECT_EQ(picture(), QColor(Qt::red).rgb());

    // Once it plays, the medium's tags and cover stand before the list's
    // name and picture; a name that is the path says the file's name.
    host.facts.track.title = host.facts.track.path;
    read();
    EXPECT_EQ(text("xesam:title"), u"a clip é.mpg");
    EXPECT_FALSE(metadata.contains(QStringLiteral("xesam:artist")));
    MediaTags& tags = host.facts.track.tags;
    std::tie(tags.title, tags.artist, tags.album, tags.trackNumber) = std::tuple("Song", "Singer", "Album", 7);
    tags.cover = QImage(8, 8, QImage::Format_RGB32);
    tags.cover.fill(Qt::blue);
    read();
    EXPECT_EQ(std::tuple(text("xesam:title"), metadata.value(QStringLiteral("xesam:artist")).toStringList(),
                         text("xesam:album"), text("xesam:trackNumber")),
              std::tuple(QString("Song"), QStringList{"Singer"}, QString("Album"), QString("7")));
    EXPECT_EQ(picture(), QColor(Qt::blue).rgb());
}

TEST_F(RemoteControl, AnnouncesWhatChangedAndEverySeek)
{
    Listener listener;
    ASSERT_TRUE(client.connect(kService, kPath, kProperties, QStringLiteral("PropertiesChanged"), &listener,
                               SLOT(OnPropertiesChanged(QString, QVariantMap, QStringList))));
    ASSERT_TRUE(client.connect(kService, kPath, kPlayer, QStringLiteral("Seeked"), &listener, SLOT(OnSeeked(qlonglong))));
    service.Refresh();          // nothing changed since it was registered
    host.facts.position = 500;  // the position is never announced
    host.facts.state = PlayState::Playing;
    host.facts.repeat = true;
    service.Refresh();
    service.AnnounceSeek(300);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !listener.changes.empty() && !listener.seeks.empty(); }, 5000));
    ASSERT_EQ(listener.changes.size(), 1U);
    EXPECT_EQ(std::tuple(listener.changes[0].keys(), listener.changes[0].value(QStringLiteral("LoopStatus")).toString(), listener.seeks),
              std::tuple(QStringList({"LoopStatus", "PlaybackStatus"}), "Track", std::vector<qlonglong>{3'000'000}));
}

TEST_F(RemoteControl, MethodsAndSettingsReachTheProgramsCommandsAndBars)
{
    Call(kPlayer, QStringLiteral("Pause"));  // not playing: nothing
    host.facts.state = PlayState::Playing;
    for (const char* method : {"Play" /* playing: nothing */, "PlayPause" /* a pause */, "Stop", "Previous"})
        Call(kPlayer, QString::fromLatin1(method));
    Set(QStringLiteral("Rate"), 0.0);  // as a pause
    // One loop at most: the list's, then the object's, then none. The
    // random order is given once, and not again while the list is in it.
    Set(QStringLiteral("LoopStatus"), QStringLiteral("Playlist"));
    host.facts.repeatList = true;
    Set(QStringLiteral("LoopStatus"), QStringLiteral("Track"));
    host.facts.repeat = true, host.facts.repeatList = false;
    Set(QStringLiteral("LoopStatus"), QStringLiteral("None"));
    Set(QStringLiteral("Shuffle"), true);
    host.facts.shuffled = true;
    EXPECT_TRUE(Get(QStringLiteral("Shuffle")).toBool());
    Set(QStringLiteral("Shuffle"), true);
    Set(QStringLiteral("Shuffle"), false);
    using enum Command;
    EXPECT_EQ(host.commands,
              std::vector<Command>({Pause, Stop, Previous, Pause, RepeatList, Repeat, RepeatList, Repeat, Shuffle}));

    Set(QStringLiteral("Volume"), 7.0);
    Set(QStringLiteral("Rate"), 2.5);
    Set(QStringLiteral("Rate"), 9.0);
    Call(QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Raise"));
    EXPECT_EQ(host.requests, QStringList({"volume 0", "speed 250", "speed 400", "raise"}));
}

TEST_F(RemoteControl, ArgumentsThatMisleadAreIgnoredOrRefused)
{
    // Not numbers: nothing changes (neither silence nor a crawl).
    for (const double odd : {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        Set(QStringLiteral("Volume"), odd);
        Set(QStringLiteral("Rate"), odd);
    }
    EXPECT_TRUE(host.commands.empty());
    // Files of this host only, named cleanly, and never cut short at a NUL
    // into another file's name; a scenario or a playlist opens as the
    // document, as a drop of one does.
    for (const char* uri : {"file://otherhost/m/a.wav", "file:///m/a.wav%00.kvo", "file:/m/a%00b.wav", "/m/a.wav", "a.wav",
                            "file:a.wav", "http://example.org/d.wav", "file:///tmp/%2e%2e/%2e%2e/m/a.wav",
                            "file://localhost/m/b%20c.wav", "file:///m/list.KVO", "file:///m/list.m3u8"})
        Call(kPlayer, QStringLiteral("OpenUri"), {QString::fromLatin1(uri)});
    EXPECT_EQ(host.requests,
              QStringList({"open /m/a.wav", "open /m/b c.wav", "document /m/list.KVO", "document /m/list.m3u8"}));
}

// The farthest offsets once overflowed into a restart.
TEST_F(RemoteControl, SeeksWithinTheObjectPlayedOnlyAndAsFarAsTheyCanNeverRound)
{
    host.facts.position = 1000;
    for (const qlonglong offset : {qlonglong{2'000'000}, qlonglong{-50'000'000} /* the start */,
                                   qlonglong{5'000'000} /* beyond the end: the next object */,
                                   std::numeric_limits<qlonglong>::max(), std::numeric_limits<qlonglong>::min()})
        Call(kPlayer, QStringLiteral("Seek"), {offset});
    SetPosition(4, 4'000'000);
    SetPosition(3, 4'000'000);  // no longer played
    for (const qlonglong position : {qlonglong{99'000'000}, std::numeric_limits<qlonglong>::max(),
                                     std::numeric_limits<qlonglong>::min()})
        SetPosition(4, position);
    EXPECT_EQ(std::tuple(host.requests, host.commands),
              std::tuple(QStringList({"seek 1200", "seek 0", "seek 0", "seek 400"}), std::vector<Command>({Command::Next, Command::Next})));

    host.facts.state = PlayState::Empty;  // nothing to seek in
    Call(kPlayer, QStringLiteral("Seek"), {qlonglong{1'000'000}});
    EXPECT_EQ(host.requests.size(), 4);
}

}  // namespace
}  // namespace kivo

#include "MprisTest.moc"
