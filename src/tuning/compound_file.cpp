#include "tuning/compound_file.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace orvena {

namespace {

struct Unref {
    void operator()(void* object) const { g_object_unref(object); }
};
template <typename T>
using GsfPtr = std::unique_ptr<T, Unref>;

// libgsf describes each flaw of a damaged container on stderr; the caller reports the
// failure to the user itself, so the descriptions are dropped.
void quiet_libgsf() {
    static const bool done = [] {
        const auto levels =
            static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING |
                                        G_LOG_LEVEL_MESSAGE | G_LOG_LEVEL_INFO | G_LOG_LEVEL_DEBUG);
        for (const char* domain : {"libgsf", "libgsf:msole"}) {
            g_log_set_handler(
                domain, levels, [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {},
                nullptr);
        }
        return true;
    }();
    (void)done;
}

bool same_name(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::optional<std::string> read_compound_stream(const std::string& file,
                                                std::initializer_list<std::string_view> names,
                                                std::size_t max_bytes) {
    quiet_libgsf();
    GError* error = nullptr;
    GsfPtr<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8*>(file.data()),
                                                static_cast<gsf_off_t>(file.size()), FALSE));
    if (!input) return std::nullopt;
    GsfPtr<GsfInfile> container(gsf_infile_msole_new(input.get(), &error));
    g_clear_error(&error);
    if (!container) return std::nullopt;

    const int children = gsf_infile_num_children(container.get());
    for (std::string_view wanted : names) {
        for (int i = 0; i < children; ++i) {
            const char* name = gsf_infile_name_by_index(container.get(), i);
            if (name == nullptr || !same_name(name, wanted)) continue;
            GsfPtr<GsfInput> stream(gsf_infile_child_by_index(container.get(), i));
            if (!stream) return std::nullopt;
            const gsf_off_t size = gsf_input_size(stream.get());
            if (size < 0 || static_cast<std::uint64_t>(size) > max_bytes) return std::nullopt;
            std::string bytes(static_cast<std::size_t>(size), '\0');
            if (size > 0 && gsf_input_read(stream.get(), static_cast<std::size_t>(size),
                                           reinterpret_cast<guint8*>(bytes.data())) == nullptr) {
                return std::nullopt;
            }
            return bytes;
        }
    }
    return std::nullopt;
}

}  // namespace orvena
