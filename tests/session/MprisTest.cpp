// The remote control on a private session bus (the tests run under
// dbus-run-session), driven by a second connection as a desktop would.

#include "session/Mpris.h"

#include "TestMedia.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kivo {
namespace {

class FakeHost : public MprisHost {
public:
    MprisFacts Facts() const override { return facts; }
    bool Run(Command command) override
    {
        commands.push_back(command);
        return true;
    }
    void Raise() override { ++raised; }
    void SetVolume(int volume) override { volumes.push_back(volume); }
    void SetSpeed(int hundredths) override { speeds.push_back(hundredths); }
    void SeekTo(int hundredths) override { seeks.push_back(hundredths); }
    void OpenFile(const QString& path) override { opened.push_back(path); }
    void OpenDocument(const QString& path) override { documents.push_back(path); }

    MprisFacts facts;
    std::vector<Command> commands;
    int raised = 0;
    std::vector<int> volumes;
    std::vector<int> speeds;
    std::vector<int> seeks;
    QStringList opened;
    QStringList documents;
};

// Signals the client has seen from the service.
class Listener : public QObject {
    Q_OBJECT

public:
    std::vector<QVariantMap> changes;
    std::vector<qlonglong> seeks;

public slots:
    void OnPropertiesChanged(const QString&, const QVariantMap& changed, const QStringList&)
    {
        changes.push_back(changed);
    }
    void OnSeeked(qlonglong position) { seeks.push_back(position); }
};

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.kivo");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");

class RemoteControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(client.isConnected()) << "no session bus: run under dbus-run-session";
        host.facts.state = PlayState::Stopped;
        host.facts.track = {4, QStringLiteral("名前"), QStringLiteral("/m/a clip é.mpg"), 1234, QImage()};
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
    QVariant Get(const QString& interface, const QString& property)
    {
        const QDBusMessage reply =
            Call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"), {interface, property});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    void Set(const QString& property, const QVariant& value)
    {
        Call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
             {kPlayer, property, QVariant::fromValue(QDBusVariant(value))});
    }

    QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client"));
    FakeHost host;
    QTemporaryDir art;
    MprisService service{host, art.filePath(QStringLiteral("art"))};
};

TEST_F(RemoteControl, ASecondInstanceTakesANameOfItsOwn)
{
    const QDBusConnection second = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("second"));
    FakeHost otherHost;
    MprisService other(otherHost, {});
    ASSERT_TRUE(other.Register(second));
    EXPECT_EQ(service.ServiceName(), kService);
    EXPECT_EQ(other.ServiceName(), kService + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid()));

    MprisService unconnected(otherHost, {});
    EXPECT_FALSE(unconnected.Register(QDBusConnection(QStringLiteral("nothing"))));
}

TEST_F(RemoteControl, ShowsTheProgramAndTheObjectPlayed)
{
    EXPECT_EQ(Get(QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Identity")).toString(), u"Kivo");
    EXPECT_EQ(Get(QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("DesktopEntry")).toString(), u"kivo");
    EXPECT_EQ(Get(kPlayer, QStringLiteral("PlaybackStatus")).toString(), u"Stopped");
    host.facts.state = PlayState::Playing;
    host.facts.position = 250;
    host.facts.volume = 25;
    host.facts.speed = 150;
    EXPECT_EQ(Get(kPlayer, QStringLiteral("PlaybackStatus")).toString(), u"Playing");
    EXPECT_EQ(Get(kPlayer, QStringLiteral("Position")).toLongLong(), 2'500'000);
    EXPECT_DOUBLE_EQ(Get(kPlayer, QStringLiteral("Volume")).toDouble(), 0.75);
    EXPECT_DOUBLE_EQ(Get(kPlayer, QStringLiteral("Rate")).toDouble(), 1.5);

    const QDBusArgument metadataArgument = Get(kPlayer, QStringLiteral("Metadata")).value<QDBusArgument>();
    QVariantMap metadata;
    metadataArgument >> metadata;
    EXPECT_EQ(metadata.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(), u"/org/kivo/track/4");
    EXPECT_EQ(metadata.value(QStringLiteral("mpris:length")).toLongLong(), 12'340'000);
    EXPECT_EQ(metadata.value(QStringLiteral("xesam:title")).toString(), u"名前");
    EXPECT_EQ(metadata.value(QStringLiteral("xesam:url")).toString(), u"file:///m/a%20clip%20%C3%A9.mpg");
    EXPECT_FALSE(metadata.contains(QStringLiteral("mpris:artUrl")));  // no picture

    // The picture is written once per object, under the cache folder.
    host.facts.track.slot = 5;
    host.facts.track.picture = QImage(64, 48, QImage::Format_RGB32);
    host.facts.track.picture.fill(Qt::red);
    Get(kPlayer, QStringLiteral("Metadata")).value<QDBusArgument>() >> metadata;
    const QUrl artUrl(metadata.value(QStringLiteral("mpris:artUrl")).toString());
    EXPECT_TRUE(artUrl.toLocalFile().startsWith(art.path()));
    EXPECT_EQ(QImage(artUrl.toLocalFile()).pixel(0, 0), QColor(Qt::red).rgb());
}

TEST_F(RemoteControl, AnnouncesWhatChangedAndEverySeek)
{
    Listener listener;
    ASSERT_TRUE(client.connect(kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                               QStringLiteral("PropertiesChanged"), &listener,
                               SLOT(OnPropertiesChanged(QString, QVariantMap, QStringList))));
    ASSERT_TRUE(client.connect(kService, kPath, kPlayer, QStringLiteral("Seeked"), &listener, SLOT(OnSeeked(qlonglong))));

    service.Refresh();  // nothing changed since it was registered
    host.facts.position = 500;  // the position is never announced
    host.facts.state = PlayState::Playing;
    host.facts.repeat = true;
    service.Refresh();
    service.AnnounceSeek(300);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !listener.changes.empty() && !listener.seeks.empty(); }, 5000));
    ASSERT_EQ(listener.changes.size(), 1U);
    EXPECT_EQ(listener.changes[0].keys(), QStringList({QStringLiteral("LoopStatus"), QStringLiteral("PlaybackStatus")}));
    EXPECT_EQ(listener.changes[0].value(QStringLiteral("LoopStatus")).toString(), u"Track");
    EXPECT_EQ(listener.seeks, std::vector<qlonglong>{3'000'000});
}

TEST_F(RemoteControl, MethodsAndSettingsReachTheProgramsCommandsAndBars)
{
    Call(kPlayer, QStringLiteral("Play"));
    Call(kPlayer, QStringLiteral("Pause"));  // not playing: nothing
    host.facts.state = PlayState::Playing;
    Call(kPlayer, QStringLiteral("Play"));  // playing: nothing
    Call(kPlayer, QStringLiteral("PlayPause"));
    Call(kPlayer, QStringLiteral("Pause"));
    Call(kPlayer, QStringLiteral("Stop"));
    Call(kPlayer, QStringLiteral("Next"));
    Call(kPlayer, QStringLiteral("Previous"));
    Set(QStringLiteral("LoopStatus"), QStringLiteral("Track"));
    Set(QStringLiteral("LoopStatus"), QStringLiteral("Playlist"));  // not Kivo's
    Set(QStringLiteral("Rate"), 0.0);                               // as a pause
    Call(QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Quit"));
    using enum Command;
    EXPECT_EQ(host.commands, std::vector<Command>({PlayPause, Pause, Pause, Stop, Next, Previous, Repeat, Pause, Exit}));

    Set(QStringLiteral("Volume"), 0.25);
    Set(QStringLiteral("Volume"), 7.0);
    Set(QStringLiteral("Rate"), 2.5);
    Set(QStringLiteral("Rate"), 9.0);
    EXPECT_EQ(host.volumes, std::vector<int>({75, 0}));
    EXPECT_EQ(host.speeds, std::vector<int>({250, 400}));

    Call(QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Raise"));
    EXPECT_EQ(host.raised, 1);
    Call(kPlayer, QStringLiteral("OpenUri"), {QStringLiteral("file:///m/b%20c.wav")});
    Call(kPlayer, QStringLiteral("OpenUri"), {QStringLiteral("http://example.org/d.wav")});
    EXPECT_EQ(host.opened, QStringList{QStringLiteral("/m/b c.wav")});
}

TEST_F(RemoteControl, ArgumentsThatMisleadAreIgnoredOrRefused)
{
    // Not numbers: nothing changes (neither silence nor a crawl).
    for (const double odd : {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        Set(QStringLiteral("Volume"), odd);
        Set(QStringLiteral("Rate"), odd);
    }
    EXPECT_TRUE(host.volumes.empty());
    EXPECT_TRUE(host.speeds.empty());
    EXPECT_TRUE(host.commands.empty());

    // Files of this host only, named cleanly, and never cut short at a NUL
    // into another file's name.
    for (const char* refused : {"file://otherhost/m/a.wav", "file:///m/a.wav%00.kvo", "file:/m/a%00b.wav", "/m/a.wav",
                                "a.wav", "file:a.wav"})
        Call(kPlayer, QStringLiteral("OpenUri"), {QString::fromLatin1(refused)});
    Call(kPlayer, QStringLiteral("OpenUri"), {QStringLiteral("file:///tmp/%2e%2e/%2e%2e/m/a.wav")});
    Call(kPlayer, QStringLiteral("OpenUri"), {QStringLiteral("file://localhost/m/b.wav")});
    EXPECT_EQ(host.opened, QStringList({QStringLiteral("/m/a.wav"), QStringLiteral("/m/b.wav")}));

    // A scenario or a playlist opens as the document, as a drop of one does.
    Call(kPlayer, QStringLiteral("OpenUri"), {QStringLiteral("file:///m/list.KVO")});
    Call(kPlayer, QStringLiteral("OpenUri"), {QStringLiteral("file:///m/list.m3u8")});
    EXPECT_EQ(host.documents, QStringList({QStringLiteral("/m/list.KVO"), QStringLiteral("/m/list.m3u8")}));
    EXPECT_EQ(host.opened.size(), 2);
}

TEST_F(RemoteControl, SeeksWithinTheObjectPlayedOnly)
{
    host.facts.position = 1000;
    Call(kPlayer, QStringLiteral("Seek"), {qlonglong{2'000'000}});
    Call(kPlayer, QStringLiteral("Seek"), {qlonglong{-50'000'000}});  // before the start: the start
    Call(kPlayer, QStringLiteral("Seek"), {qlonglong{5'000'000}});    // beyond the end: the next object
    const auto setPosition = [&](const QString& track, qlonglong position) {
        Call(kPlayer, QStringLiteral("SetPosition"), {QVariant::fromValue(QDBusObjectPath(track)), position});
    };
    setPosition(QStringLiteral("/org/kivo/track/4"), 4'000'000);
    setPosition(QStringLiteral("/org/kivo/track/3"), 4'000'000);   // no longer played
    setPosition(QStringLiteral("/org/kivo/track/4"), 99'000'000);  // beyond the end
    EXPECT_EQ(host.seeks, std::vector<int>({1200, 0, 400}));
    EXPECT_EQ(host.commands, std::vector<Command>{Command::Next});

    // The farthest offsets go as far as they can, never round.
    Call(kPlayer, QStringLiteral("Seek"), {std::numeric_limits<qlonglong>::max()});
    Call(kPlayer, QStringLiteral("Seek"), {std::numeric_limits<qlonglong>::min()});
    setPosition(QStringLiteral("/org/kivo/track/4"), std::numeric_limits<qlonglong>::max());
    setPosition(QStringLiteral("/org/kivo/track/4"), std::numeric_limits<qlonglong>::min());
    EXPECT_EQ(host.seeks, std::vector<int>({1200, 0, 400, 0}));
    EXPECT_EQ(host.commands, std::vector<Command>({Command::Next, Command::Next}));

    host.facts.state = PlayState::Empty;
    Call(kPlayer, QStringLiteral("Seek"), {qlonglong{1'000'000}});
    EXPECT_EQ(host.seeks.size(), 4U);
}

}  // namespace
}  // namespace kivo

#include "MprisTest.moc"
