// Writing the files a user names: what is refused, how a file is replaced, how a device or a
// FIFO is written, and what a failure leaves behind.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/output_batch.h"
#include "files/safe_output.h"
#include "support/special_files.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;
using test::read_file_bytes;
using test::write_file_bytes;

// The files of a scratch folder, names and bytes, to see that nothing else changed.
std::map<std::string, std::string> folder_bytes(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().lexically_relative(folder).string();
        files[name] = entry.is_regular_file() ? read_file_bytes(entry.path()) : "<other>";
    }
    return files;
}

struct RefusalCase {
    std::string target;   // "P/" the program folder, "S/" the scratch folder
    std::string refusal;  // what follows the quoted target; "" when the target may be written
    bool in_place_allowed = true;
};

TEST(SafeOutput, RefusesOwnedFilesTheInputFoldersAndDevicesLeavingEverythingAsItWas) {
    const RefusalCase cases[] = {
        {"P/12-A4.wav",
         " adı ORVENA'nın kendi dosyalarına ayrılmıştır (tel sesi); bu ada "
         "yazılamaz. Başka bir ad ya da klasör seçin."},
        {"P/Yeni.WAV", " adı ORVENA'nın kendi dosyalarına ayrılmıştır (tel sesi)"},
        {"P/dizek.xls", " adı ORVENA'nın kendi dosyalarına ayrılmıştır (akort çizelgesi)"},
        {"P/rast.mkm", " adı ORVENA'nın kendi dosyalarına ayrılmıştır (makam dosyası)"},
        {"P/ezgi.ses", " adı ORVENA'nın kendi dosyalarına ayrılmıştır (ses dosyası)"},
        {"P/kayıt.txt", " adı ORVENA'nın kendi dosyalarına ayrılmıştır (kayıt dosyası)"},
        {"P/orvena.ini", " adı ORVENA'nın kendi dosyalarına ayrılmıştır (ayar dosyası)"},
        {"P/./alt/../dizek.xls", " adı ORVENA'nın kendi dosyalarına ayrılmıştır (akort"},
        {"S/program/rast.mkm", " adı ORVENA'nın kendi dosyalarına ayrılmıştır (makam"},
        {"S/bağ.wav", " adı ORVENA'nın kendi dosyalarına ayrılmıştır (tel sesi)"},
        {"S/girdi.ses", " okunan dosyanın kendisi; üzerine yazılamaz. Başka bir ad seçin."},
        {"S/girdinin-eşi.txt", " okunan dosyanın kendisi"},
        {"S/klasör", " bir klasör, dosya değil; yazılamaz."},
        {"S/yok/çıktı.wav", " yazılamadı: klasörü yok."},
        {"S/boru", " düzenli bir dosya değil (aygıt ya da FIFO); buraya yazılamaz.", false},
        {"S/salt-okunur.wav", " yazılamadı: izin yok."},
        {"P/notlar.txt", ""},
        {"S/çıktı.wav", ""},
        {"S/boru", ""},
    };
    test::TempDir program, scratch;
    for (const char* name : {"12-A4.wav", "dizek.xls", "rast.mkm", "ezgi.ses", "kayıt.txt",
                             "orvena.ini", "notlar.txt"})
        write_file_bytes(program / name, std::string("eski ") + name);
    fs::create_directory(program / "alt");
    fs::create_directory_symlink(program.path(), scratch / "program");
    fs::create_symlink(program / "12-A4.wav", scratch / "bağ.wav");
    write_file_bytes(scratch / "girdi.ses", "0,5,4,0,0,0,0,0,0,0\r\n");
    fs::create_hard_link(scratch / "girdi.ses", scratch / "girdinin-eşi.txt");
    fs::create_directory(scratch / "klasör");
    ASSERT_EQ(::mkfifo((scratch / "boru").c_str(), 0644), 0);
    write_file_bytes(scratch / "salt-okunur.wav", "eski");
    fs::permissions(scratch / "salt-okunur.wav", fs::perms::owner_read);
    const bool root = ::geteuid() == 0;  // root may write a read-only file
    const auto before = folder_bytes(program.path());

    for (const RefusalCase& c : cases) {
        if (root && c.target == "S/salt-okunur.wav") continue;
        const fs::path target =
            (c.target[0] == 'P' ? program.path() : scratch.path()) / c.target.substr(2);
        OutputRules rules{{program.path()}, {scratch / "girdi.ses"}, c.in_place_allowed};
        SCOPED_TRACE(c.target);
        const auto refusal = output_refusal(target, rules);
        OutputFile file(target, rules);
        const auto open_refusal = file.open();
        if (c.refusal.empty()) {
            EXPECT_EQ(refusal, std::nullopt);
            EXPECT_EQ(open_refusal, std::nullopt);
            continue;
        }
        ASSERT_TRUE(refusal && open_refusal);
        EXPECT_EQ(refusal->rfind("\"" + target.string() + "\"" + c.refusal, 0), 0u) << *refusal;
        EXPECT_EQ(*open_refusal, *refusal);
        EXPECT_EQ(save_file(target, "yeni", rules), refusal);
    }
    EXPECT_EQ(folder_bytes(program.path()), before);
    EXPECT_EQ(read_file_bytes(scratch / "girdi.ses"), "0,5,4,0,0,0,0,0,0,0\r\n");
    EXPECT_TRUE(fs::is_fifo(scratch / "boru"));
}

// A name that would show raw control bytes is shown escaped in the refusal.
TEST(SafeOutput, RefusalShowsControlBytesOfTheNameEscaped) {
    test::TempDir scratch;
    const fs::path target = scratch / std::string("a\x1b[2J\nb\0c/x.wav", 15);
    const auto refusal = output_refusal(target, {});
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find("a\\x1B[2J\\x0Ab\\x00c/x.wav\" yazılamadı: klasörü yok."),
              std::string::npos)
        << *refusal;
}

enum class Kind { none, file, link_to_file, fifo, null_device, full_device };

struct SaveCase {
    Kind kind;
    std::optional<std::string> problem;  // what follows the quoted target
};

// A file or a new name takes the bytes whole and keeps its permissions and links; a device or
// a FIFO stays what it is and takes the bytes in place; /dev/full says the disk is full.
TEST(SafeOutput, SavesFilesAtomicallyAndWritesDevicesAndFifosInPlace) {
    const SaveCase cases[] = {
        {Kind::none, {}},         {Kind::file, {}},
        {Kind::link_to_file, {}}, {Kind::fifo, {}},
        {Kind::null_device, {}},  {Kind::full_device, " yazılamadı: diskte yer kalmadı."},
    };
    const std::string bytes(200000, 'x');
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        test::TempDir dir;
        const fs::path target = dir / "çıktı";
        std::unique_ptr<test::FifoReader> reader;
        switch (c.kind) {
            case Kind::none:
                break;
            case Kind::file:
                write_file_bytes(target, "eski");
                fs::permissions(
                    target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
                break;
            case Kind::link_to_file:
                write_file_bytes(dir / "asıl", "eski");
                fs::create_symlink(dir / "asıl", target);
                break;
            case Kind::fifo:
                reader = std::make_unique<test::FifoReader>(target);
                break;
            case Kind::null_device:
            case Kind::full_device:
                if (!test::make_char_device(target, 1, c.kind == Kind::null_device ? 3 : 7))
                    GTEST_SKIP() << "device nodes need root";
                break;
        }
        const auto problem = save_file(target, bytes, {});
        if (c.problem) {
            ASSERT_TRUE(problem);
            EXPECT_EQ(*problem, "\"" + target.string() + "\"" + *c.problem);
        } else {
            EXPECT_EQ(problem, std::nullopt) << *problem;
        }
        switch (c.kind) {
            case Kind::none:
            case Kind::file:
                EXPECT_EQ(read_file_bytes(target), bytes);
                break;
            case Kind::link_to_file:
                EXPECT_TRUE(fs::is_symlink(target));
                EXPECT_EQ(read_file_bytes(dir / "asıl"), bytes);
                break;
            case Kind::fifo:
                EXPECT_EQ(reader->bytes(), bytes);
                EXPECT_TRUE(fs::is_fifo(target));
                break;
            case Kind::null_device:
            case Kind::full_device:
                EXPECT_TRUE(fs::is_character_file(target));
                break;
        }
        if (c.kind == Kind::file) {
            EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
                      fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        }
        // No temporary file is left beside the target.
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()),
                  c.kind == Kind::link_to_file ? 2 : 1);
    }
}

// A write that fails (the disk full), a cancel and an export given up before its commit leave
// the old file whole and no temporary file.
TEST(SafeOutput, FailedOrAbandonedWritesLeaveTheOldFileAndNoTrace) {
    test::TempDir dir;
    const fs::path target = dir / "çıktı.wav";
    write_file_bytes(target, "eski");
    {
        test::FileSizeLimit small_disk(1000);
        const auto problem = save_file(target, std::string(5000, 'x'), {});
        ASSERT_TRUE(problem);
        EXPECT_EQ(*problem, "\"" + target.string() + "\" yazılamadı: dosya bu kadar büyüyemez.");
    }
    {
        OutputFile file(target, {});
        ASSERT_EQ(file.open(), std::nullopt);
        ASSERT_EQ(file.write("yarım"), std::nullopt);
        file.cancel();
    }
    {
        OutputFile file(target, {});
        ASSERT_EQ(file.open(), std::nullopt);
        ASSERT_EQ(file.write("yarım"), std::nullopt);
    }
    EXPECT_EQ(folder_bytes(dir.path()),
              (std::map<std::string, std::string>{{"çıktı.wav", "eski"}}));
}

// A batch puts all its files in place or none: a failure while placing the last puts the
// files it replaced back and removes the new ones.
TEST(OutputBatch, AllOrNothing) {
    struct BatchCase {
        std::string spoil;  // what goes wrong after the files were staged
        bool written;
    };
    const BatchCase cases[] = {{"", true}, {"last becomes a folder", false}};
    for (const BatchCase& c : cases) {
        SCOPED_TRACE(c.spoil);
        test::TempDir dir;
        write_file_bytes(dir / "a.scl", "eski a");
        write_file_bytes(dir / "c.kbm", "eski c");
        const auto before = folder_bytes(dir.path());
        OutputBatch batch({});
        ASSERT_EQ(batch.add(dir / "a.scl", "yeni a"), std::nullopt);
        ASSERT_EQ(batch.add(dir / "b.scl", "yeni b"), std::nullopt);
        ASSERT_EQ(batch.add(dir / "c.kbm", "yeni c"), std::nullopt);
        EXPECT_EQ(batch.add(dir / "b.scl", "iki kez"),
                  "\"" + (dir / "b.scl").string() + "\" aynı işte iki kez yazılamaz.");
        if (!c.spoil.empty()) {
            fs::remove(dir / "c.kbm");
            fs::create_directory(dir / "c.kbm");
            write_file_bytes(dir / "c.kbm" / "içinde", "");
        }
        const auto problem = batch.commit();
        if (c.written) {
            EXPECT_EQ(problem, std::nullopt);
            EXPECT_EQ(folder_bytes(dir.path()),
                      (std::map<std::string, std::string>{
                          {"a.scl", "yeni a"}, {"b.scl", "yeni b"}, {"c.kbm", "yeni c"}}));
        } else {
            EXPECT_TRUE(problem);
            fs::remove_all(dir / "c.kbm");
            write_file_bytes(dir / "c.kbm", "eski c");
            EXPECT_EQ(folder_bytes(dir.path()), before);
        }
    }
}

}  // namespace
}  // namespace orvena
