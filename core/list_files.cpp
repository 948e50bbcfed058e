#include "core/list_files.h"

#include <optional>
#include <set>
#include <string_view>
#include <utility>

#include "core/file_io.h"
#include "core/file_kind.h"
#include "core/file_list.h"
#include "core/kind_prefetch.h"
#include "core/list_file_format.h"
#include "core/path_rules.h"
#include "core/text_rules.h"
#include "core/win_handles.h"

namespace lt {

namespace {


// Fields taken from one list: room for the entries of a full list with an
// information line beside each (play lists have them), and no more.
constexpr std::size_t MaxListFields = 4 * FileTable::Capacity;

// Lists naming lists naming lists...: a chain this deep is not a real list,
// and each level costs stack.
constexpr std::size_t MaxNesting = 32;

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    std::string text;
    // Only the start of a larger file is read: it is not one of ours, and
    // memory stays bounded whatever it holds.
    if (!file || !ReadBytes(file.get(), text, static_cast<DWORD>(MaxListFileBytes)))
        return std::nullopt;
    return text;
}

bool WriteWholeFile(const char* path, std::string_view bytes)
{
    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteBytes(file.get(), bytes) && FlushFileBuffers(file.get()) != 0;
}

// Full path, ASCII upper-cased: how the file system would tell two spellings
// of one list apart (close enough to stop a list from reading itself).
std::string ReadingKey(const std::string& path)
{
    std::string full = path;
    const DWORD need = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (need > 0) {
        std::string buffer(need, '\0');
        const DWORD got = GetFullPathNameA(path.c_str(), need, buffer.data(), nullptr);
        if (got > 0 && got < need) {
            buffer.resize(got);
            full = std::move(buffer);
        }
    }
    return AsciiUpper(full);
}

class ListFiles final : public ListReader {
public:
    void ReadListFile(const std::string& path) override { Read(path, false); }
    void ReadM3uFile(const std::string& path) override { Read(path, true); }

private:
    // Marks a list as being read and keeps the model quiet (no player) and
    // batched (no display rebuild per file) while it is walked.
    class WalkScope {
    public:
        WalkScope(std::set<std::string>& reading, std::string key)
            : reading_(reading), key_(std::move(key)), modes_(true, true)
        {
            reading_.insert(key_);
        }
        ~WalkScope() { reading_.erase(key_); }
        WalkScope(const WalkScope&) = delete;
        WalkScope& operator=(const WalkScope&) = delete;

    private:
        std::set<std::string>& reading_;
        std::string key_;
        ListModeScope modes_;
    };

    void Read(const std::string& path, bool m3u)
    {
        // A list read while another list adds its names hands its first
        // piece up: the outermost reader starts it once its walk is done and
        // quiet mode is off again.
        std::string* const sink = std::exchange(firstMusicSink_, nullptr);
        std::string firstMusic;
        std::string key = ReadingKey(path);
        if (reading_.size() < MaxNesting && !reading_.contains(key)) {
            WalkScope scope(reading_, std::move(key));
            firstMusic = m3u ? WalkM3u(path) : WalkList(path);
        }
        firstMusicSink_ = sink;
        FileListState& list = FileList();
        if (sink) {
            *sink = firstMusic;
        } else if (!firstMusic.empty() && !Quitting()) {
            // Already in the list, so this activates it and the player starts.
            list.CurrentFile = firstMusic;
            LoadFile();
        }
        list.CurrentFile = path;
    }

    std::string WalkList(const std::string& path)
    {
        std::vector<std::string> names;
        if (const std::optional<std::string> text = ReadWholeFile(path)) {
            FieldReader fields(*text);
            if (IsListHeader(fields.Next())) {
                while (!fields.AtEnd() && names.size() < MaxListFields)
                    TakeField(fields.Next(), names);
            }
        }
        return AddAll(names);
    }

    // Every field is relative to the play list's folder; absolute paths and
    // "#" information lines thus name nothing and drop out.
    std::string WalkM3u(const std::string& path)
    {
        std::vector<std::string> names;
        if (const std::optional<std::string> text = ReadWholeFile(path)) {
            FieldReader fields(*text);
            do {
                const std::string field = fields.Next();
                if (!field.empty())
                    TakeField(M3uCandidate(path, field), names);
            } while (!fields.AtEnd() && names.size() < MaxListFields);
        }
        return AddAll(names);
    }

    static void TakeField(std::string field, std::vector<std::string>& names)
    {
        if (CanNamePath(field))
            names.push_back(std::move(field));
    }

    // Adds the named files in order and returns the first music among them.
    // Stops when the program ends meanwhile.
    std::string AddAll(const std::vector<std::string>& names)
    {
        KindPrefetch prefetch(names);
        std::string firstMusic;
        for (const std::string& name : names)
            if (!AddNamed(name, firstMusic))
                break;
        return firstMusic;
    }

    // WAV files never count as the first music: the player moves on only
    // through MIDI and MP3 entries. The kind is the one the list gave the
    // file, so each file is classified once; files that did not enter the
    // list (missing, unknown) have none. A list named here gives its own
    // first music. False: stop, the program is ending.
    bool AddNamed(const std::string& name, std::string& firstMusic)
    {
        if (Quitting())
            return false;
        std::string nestedFirst;
        firstMusicSink_ = &nestedFirst;
        FileList().CurrentFile = name;
        LoadFile();
        firstMusicSink_ = nullptr;
        if (firstMusic.empty()) {
            const FileKind kind = FileList().Table.At(FindEntry(name)).Kind;
            if (kind == FileKind::Midi || kind == FileKind::Mp3)
                firstMusic = name;
            else
                firstMusic = nestedFirst;
        }
        // Messages run between files, though not after every one: each
        // look costs about as much as adding a file.
        return ++added_ % 32 != 0 || PumpMessages();
    }

    std::set<std::string> reading_;
    std::string* firstMusicSink_ = nullptr;
    std::size_t added_ = 0;
};

ListFiles g_reader;

} // namespace

void InstallListReader()
{
    SetListReader(&g_reader);
}

bool WriteListFile(const std::string& path, const FileTable& table)
{
    // Windows refuses to replace a read-only file; say so here too, so the
    // file is kept whatever the file system would let through.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    const std::string image = ListFileImage(table);
    // The new file is written beside the old one and then put in its place,
    // so a failed write never leaves the user without either.
    const std::string folder = FolderPrefix(path);
    char temp[MAX_PATH] = {};
    if (GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "ltl", 0, temp) == 0)
        return false;
    bool ok = WriteWholeFile(temp, image);
    if (ok)
        ok = MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok)
        DeleteFileA(temp);
    return ok;
}

} // namespace lt
