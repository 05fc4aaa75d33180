#pragma once
// A check of a workbook stream's BIFF records for the damage FreeXL reads past its own
// buffers on: FreeXL sizes a sheet's cell table by its DIMENSION record and trusts what
// follows, and copies record texts by the count they claim. No Qt; any thread.

#include <string>

namespace orvena {

// The BIFF records of a workbook stream: every record lies inside the stream, every
// substream (BOF .. EOF) has at most one DIMENSION record, within 65536 rows and 256 columns,
// every cell lies inside its sheet's size and is given once, every text fits its record, and
// every sheet the workbook names has its records.
bool workbook_records_sound(const std::string& stream);

}  // namespace orvena
