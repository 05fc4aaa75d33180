#pragma once
// A first look at an Excel 97-2003 file before FreeXL reads it. An .xls workbook is a
// compound document (a small FAT file system) holding the workbook stream of BIFF records.
// FreeXL trusts some of what it reads there: the name lengths of directory entries (it
// reads that many bytes from a fixed buffer) and the sheet size of a DIMENSION record (a
// second one in a sheet makes it walk a cell table of the new size that was allocated for
// the old). A file with such damage is refused here before FreeXL sees it.

#include <filesystem>
#include <string>

namespace orvena {

enum class CompoundCheck {
    ok,
    unreadable,    // the file cannot be opened
    not_compound,  // no compound-document signature: not an .xls workbook at all
    damaged,       // a header, directory entry, sector chain or record no sound workbook has
};

// Reads the header, the first directory sector (the entries FreeXL looks at) and the
// workbook stream, and checks the sheet records in it.
CompoundCheck check_compound_document(const std::filesystem::path& file);

// The BIFF records of a workbook stream: every record lies inside the stream, and every
// substream (BOF .. EOF) has at most one DIMENSION record, within 65536 rows and 256 columns.
bool workbook_records_sound(const std::string& stream);

}  // namespace orvena
