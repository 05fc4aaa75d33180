// RealtimeKit asked over a real D-Bus: a private bus daemon stands in for the system bus and
// a service of the test's own answers as RealtimeKit does, grants, refuses or is not there.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QProcess>
#include <QTest>

#include <atomic>
#include <filesystem>
#include <thread>

#include "sound/rtkit_bus.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

namespace orvena::test {

class FakeRealtimeKit : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.RealtimeKit1")
    Q_PROPERTY(int MaxRealtimePriority READ max_priority)
    Q_PROPERTY(qlonglong RTTimeUSecMax READ cpu_cap)

  public:
    int max_priority() const { return 9; }
    qlonglong cpu_cap() const { return 123456; }
    bool refuse = false;
    QString asked;

  public slots:
    Q_SCRIPTABLE void MakeThreadRealtime(qulonglong thread, uint priority) {
        asked = QStringLiteral("%1 %2").arg(thread).arg(priority);
        if (refuse)
            sendErrorReply(QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"),
                           QStringLiteral("not allowed"));
    }
};

namespace {

// Runs a question on a thread of its own while this thread's event loop serves the service.
template <class Ask>
void ask_while_serving(Ask ask) {
    std::atomic<bool> done{false};
    std::thread asker([&] {
        ask();
        done = true;
    });
    while (!done) QTest::qWait(5);
    asker.join();
}

TEST(RtkitBus, AsksRealtimeKitOnTheSystemBusAndSaysWhyNot) {
    ensure_qt_app();
    TempDir dir;
    const QString address =
        QStringLiteral("unix:path=") + QString::fromStdString((dir.path() / "bus").string());
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--config-file=" TEST_DATA_DIR "/dbus/test-bus.conf"),
                  QStringLiteral("--nofork"), QStringLiteral("--address=") + address});
    ASSERT_TRUE(daemon.waitForStarted()) << "dbus-daemon (package dbus-daemon) is needed";
    // The bus of RtkitBus; read once per process, before any system bus connection.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address.toUtf8());
    for (int i = 0; i < 500 && !std::filesystem::exists(dir / "bus"); ++i) QTest::qWait(10);
    QDBusConnection service = QDBusConnection::connectToBus(address, QStringLiteral("fake-rtkit"));
    ASSERT_TRUE(service.isConnected());
    FakeRealtimeKit rtkit;
    ASSERT_TRUE(service.registerObject(
        QStringLiteral("/org/freedesktop/RealtimeKit1"), &rtkit,
        QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportAllProperties));
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.RealtimeKit1")));
    RtkitBus bus(std::chrono::seconds(30));  // the machine may be busy with other work
    std::string why;
    std::optional<int> highest;
    long cap = 0;
    bool granted = false;
    ask_while_serving([&] {
        highest = bus.max_priority(why);
        cap = bus.max_realtime_cpu_us();
        granted = bus.make_realtime(4242, 3, why);
    });
    EXPECT_EQ(std::tuple(highest, cap, granted), std::tuple(9, 123456L, true)) << why;
    EXPECT_EQ(rtkit.asked, QStringLiteral("4242 3"));
    rtkit.refuse = true;
    ask_while_serving([&] { granted = bus.make_realtime(77, 4, why); });
    EXPECT_FALSE(granted);
    EXPECT_EQ(why, "org.freedesktop.DBus.Error.AccessDenied: not allowed");
    service.unregisterService(QStringLiteral("org.freedesktop.RealtimeKit1"));
    ask_while_serving([&] { highest = bus.max_priority(why); });
    EXPECT_FALSE(highest.has_value());
    EXPECT_EQ(why.rfind("org.freedesktop.DBus.Error.ServiceUnknown", 0), 0u) << why;
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-rtkit"));
    daemon.kill();
    daemon.waitForFinished();
    why.clear();
    ask_while_serving([&] { highest = bus.max_priority(why); });
    EXPECT_FALSE(highest.has_value());
    EXPECT_EQ(why, "sistem veriyolu yok");
}

}  // namespace
}  // namespace orvena::test

#include "rtkit_bus_test.moc"
