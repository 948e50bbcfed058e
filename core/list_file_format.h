// The list file (.ltl) and the M3U play list as texts: the header line, the
// comma/line-end field grammar both readers share, and the image we write.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "core/file_table.h"

namespace lt {

inline constexpr int ListVersionMajor = 5;
inline constexpr int ListVersionMinor = 0;

// The longest path the ANSI file calls take, without its terminator.
inline constexpr std::size_t MaxPathBytes = 259;

// The largest list a reader takes in: the header and a full list of longest
// paths, quoted, each with an information line beside it as play lists have.
inline constexpr std::size_t MaxListFileBytes = (FileTable::Capacity + 1) * 2 * (MaxPathBytes + 4);

// "LumatroveList Ver5.0", without the line end.
std::string ListHeaderLine();

// True when the first field opens with "LUMATROVELIST" in any ASCII case.
bool IsListHeader(std::string_view firstField);

// Walks a text field by field. Fields end at a comma or a line end (CR, LF
// or CR LF, each one separator); blanks before a field are skipped; a field
// opening with a double quote runs to the next double quote (or the end of
// the text), and anything after that quote up to the separator is dropped.
// Empty fields come back as empty strings; callers skip them.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }

    // The next field, with its separator consumed. At the end: empty.
    std::string Next();

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// One path as it is written on its line: quoted when it holds a comma or
// opens with a blank or a double quote, so it reads back whole.
std::string ListFieldText(std::string_view path);

// The whole file: header CR LF, then every entry's path CR LF in list order.
std::string ListFileImage(const FileTable& table);

// Where an M3U field points: the M3U file's folder followed by the field.
std::string M3uCandidate(std::string_view m3uPath, std::string_view field);

// False for fields that cannot name a file and must not reach the platform:
// empty, longer than the ANSI file calls take, or holding control bytes (a NUL would
// cut the path short and name some other file).
bool CanNamePath(std::string_view field);

} // namespace lt
