#include "sound/rtkit_bus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

#include <atomic>

namespace orvena {

namespace {

const QString kService = QStringLiteral("org.freedesktop.RealtimeKit1");
const QString kPath = QStringLiteral("/org/freedesktop/RealtimeKit1");

// A private connection, so that calls from several threads never share one.
class Bus {
  public:
    explicit Bus(std::chrono::milliseconds answer_time)
        : answer_time_ms_(static_cast<int>(answer_time.count())),
          name_(QStringLiteral("orvena-rtkit-%1").arg(counter_.fetch_add(1))),
          connection_(QDBusConnection::connectToBus(QDBusConnection::SystemBus, name_)) {}
    ~Bus() { QDBusConnection::disconnectFromBus(name_); }
    Bus(const Bus&) = delete;
    Bus& operator=(const Bus&) = delete;

    // The reply, or none with why_not set.
    std::optional<QDBusMessage> call(const QDBusMessage& message, std::string& why_not) {
        if (!connection_.isConnected()) {
            why_not = "sistem veriyolu yok";
            return std::nullopt;
        }
        QDBusMessage reply = connection_.call(message, QDBus::Block, answer_time_ms_);
        if (reply.type() != QDBusMessage::ReplyMessage) {
            why_not =
                (reply.errorName() + QStringLiteral(": ") + reply.errorMessage()).toStdString();
            return std::nullopt;
        }
        return reply;
    }

  private:
    static inline std::atomic<int> counter_{0};
    int answer_time_ms_;
    QString name_;
    QDBusConnection connection_;
};

std::optional<QVariant> property(const QString& name, std::chrono::milliseconds answer_time,
                                 std::string& why_not) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kService << name;
    Bus bus(answer_time);
    const std::optional<QDBusMessage> reply = bus.call(get, why_not);
    if (!reply || reply->arguments().isEmpty()) {
        if (why_not.empty()) why_not = "boş yanıt";
        return std::nullopt;
    }
    return reply->arguments().first().value<QDBusVariant>().variant();
}

}  // namespace

std::optional<int> RtkitBus::max_priority(std::string& why_not) {
    const std::optional<QVariant> value =
        property(QStringLiteral("MaxRealtimePriority"), answer_time_, why_not);
    if (!value) return std::nullopt;
    return value->toInt();
}

long RtkitBus::max_realtime_cpu_us() {
    std::string ignored;
    const std::optional<QVariant> value =
        property(QStringLiteral("RTTimeUSecMax"), answer_time_, ignored);
    return value ? static_cast<long>(value->toLongLong()) : 0;
}

bool RtkitBus::make_realtime(long thread_id, int priority, std::string& why_not) {
    QDBusMessage ask = QDBusMessage::createMethodCall(kService, kPath, kService,
                                                      QStringLiteral("MakeThreadRealtime"));
    ask << QVariant::fromValue(static_cast<qulonglong>(thread_id))
        << QVariant::fromValue(static_cast<uint>(priority));
    Bus bus(answer_time_);
    return bus.call(ask, why_not).has_value();
}

}  // namespace orvena
