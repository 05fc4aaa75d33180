#include "presets/transposition_messages.h"

namespace orvena {

namespace {
constexpr const char* kCrLf = "\r\n";
std::string text(int n) {
    return std::to_string(n);
}
}  // namespace

std::string source_degree_unknown_message(int s, int position) {
    return text(s) + "  nolu perdenin derecesi belirlenemedi. " + kCrLf +
           " mandal= " + text(position) + kCrLf + "  devam edecek. ";
}

std::string degree_overflow_message(const DegreeOverflow& o) {
    const std::string lines[] = {"göçürme de sorun var",
                                 "orijin tel=" + text(o.source_string),
                                 "orijin derece=" + text(o.source_degree),
                                 "ahenk farkı=" + text(o.degree_step),
                                 "derece farkı=" + text(o.fine),
                                 "toplam derece farkı=" + text(o.total),
                                 "",
                                 "hedef tel=" + text(o.target_string),
                                 "hedef derece=" + text(o.target_degree)};
    std::string joined = lines[0];
    for (std::size_t i = 1; i < std::size(lines); ++i) joined += kCrLf + lines[i];
    return joined;
}

std::string transposition_cancelled_message(int s, int position, int target_string,
                                            int first_string, int second_string) {
    return std::string("göçürme yapılamıyor") + kCrLf + kCrLf + text(s) + " nolu telin " +
           text(position) + " nolu mandal sesi, istenen göçürüm miktarına göre " +
           text(target_string) + " nolu telden alıması gerekirken " + text(first_string) +
           " nolu tele veya " + text(second_string) +
           " nolu tele taşmaktadır. Göçürüm iptal edilecek.";
}

}  // namespace orvena
