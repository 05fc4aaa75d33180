#pragma once
// A first look at an Excel 97-2003 file before FreeXL reads it. An .xls workbook is a
// compound document (a small FAT file system) holding the workbook stream of BIFF records.
// FreeXL trusts some of what it reads there: the name lengths of directory entries (it
// reads that many bytes from a fixed buffer) and the sheet size of a DIMENSION record (a
// second one in a sheet makes it walk a cell table of the new size that was allocated for
// the old). A file with such damage is refused here before FreeXL sees it.

#include <string>

namespace orvena {

enum class CompoundCheck {
    ok,
    not_compound,  // no compound-document signature: not an .xls workbook at all
    damaged,       // a header, directory entry, sector chain or record no sound workbook has
};

// Reads the header, the first directory sector (the entries FreeXL looks at) and the
// workbook stream FreeXL will read (left in workbook_stream; empty when FreeXL finds none),
// and checks the sheet records in it. `file` holds the whole file.
CompoundCheck check_compound_document(const std::string& file, std::string& workbook_stream);

}  // namespace orvena
