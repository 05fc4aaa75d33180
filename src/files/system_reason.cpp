#include "files/system_reason.h"

#include <cerrno>
#include <cstring>

namespace orvena {

std::string system_reason(int err) {
    switch (err) {
        case ENOSPC:
            return "diskte yer kalmadı";
        case EDQUOT:
            return "disk kotası doldu";
        case EFBIG:
            return "dosya bu kadar büyüyemez";
        case EACCES:
        case EPERM:
            return "izin yok";
        case EROFS:
            return "dosya sistemi salt okunur";
        case ENOENT:
            return "böyle bir dosya ya da klasör yok";
        case ENOTDIR:
            return "yoldaki bir ad klasör değil";
        case EISDIR:
            return "bu bir klasör";
        case ENAMETOOLONG:
            return "ad çok uzun";
        case ELOOP:
            return "sembolik bağlar döngü oluşturuyor";
        case EIO:
            return "giriş/çıkış hatası";
        case EPIPE:
            return "okuyan taraf kapandı";
        case ENXIO:
            return "aygıt ya da okuyan bir program yok";
        case EMFILE:
        case ENFILE:
            return "açık dosya sınırına varıldı";
        case ENOMEM:
            return "bellek yetmedi";
        default:
            break;
    }
    return "sistem hatası " + std::to_string(err) + " (" + std::strerror(err) + ")";
}

}  // namespace orvena
