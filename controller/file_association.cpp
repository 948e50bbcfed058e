#include "controller/file_association.h"

namespace lt {

namespace {

constexpr const char* ReadError = "Error";
constexpr std::string_view ClassEditFlags{"\0\0\0\0", 4};
constexpr std::string_view VerbEditFlags{"\1\0\0\0", 4};

// A class the extension names but that has no description gets ours.
void FillClass(ClassesRoot& root, const std::string& cls, const FileType& type, const std::string& programPath)
{
    root.CreateKey(cls + "\\DefaultIcon");
    root.SetText(cls, "", type.Description);
    root.SetBinary(cls, "EditFlags", ClassEditFlags);
    root.SetText(cls + "\\DefaultIcon", "", programPath + "," + std::to_string(type.IconIndex));
}

} // namespace

const std::array<FileType, FileTypeCount>& FileTypes()
{
    static const std::array<FileType, FileTypeCount> types = {{
        {"*.bmp", 56, 128, ".bmp", "BMPFile", "ﾋﾞｯﾄﾏｯﾌﾟ ｲﾒｰｼﾞ", "image/bmp", 4},
        {"*.jpg", 96, 128, ".jpg", "JPEGFile", "JPEG イメージ", "image/jpeg", 4},
        {"*.mid", 136, 128, ".mid", "MIDFile", "MIDIﾌｧｲﾙ", "audio/mid", 5},
        {"*.wav", 56, 144, ".wav", "WAVFile", "WAVE ｻｳﾝﾄﾞ", "audio/x-wav", 6},
        {"*.avi", 96, 144, ".avi", "AVIFile", "ビデオ クリップ", "video/avi", 3},
        {"*.ltl", 136, 144, ".ltl", "LumatroList", "Lumatrove専用ﾘｽﾄ", "", 1},
    }};
    return types;
}

std::string OpenCommand(const std::string& programPath)
{
    return "\"" + programPath + "\" \"%1\"";
}

KeyResult RegisterFileType(ClassesRoot& root, const FileType& type, const std::string& programPath)
{
    std::string cls = root.Read(type.Extension, "");
    // An extension whose class name is empty names no class: writing under
    // it would write at the root itself.
    if (cls == ReadError || cls.empty()) {
        cls = type.ClassName;
        root.CreateKey(type.Extension);
        root.SetText(type.Extension, "", cls);
        if (*type.ContentType)
            root.SetText(type.Extension, "Content Type", type.ContentType);
        FillClass(root, cls, type, programPath);
    } else if (root.Read(cls, "") == ReadError) {
        FillClass(root, cls, type, programPath);
    }

    const std::string verb = cls + "\\Shell\\" + VerbName;
    const KeyResult created = root.CreateKey(verb + "\\command");
    if (created != KeyResult::Created)
        return created;
    root.SetText(cls + "\\Shell", "", VerbName);
    root.SetBinary(verb, "EditFlags", VerbEditFlags);
    root.SetText(verb + "\\command", "", OpenCommand(programPath));
    return created;
}

KeyResult RegisterFileTypeAnywhere(ClassesRoot& machine, ClassesRoot& user, const FileType& type,
                                   const std::string& programPath)
{
    const KeyResult result = RegisterFileType(machine, type, programPath);
    if (result != KeyResult::Denied)
        return result;
    return RegisterFileType(user, type, programPath);
}

std::string AssociationMessage(const FileType& type, bool succeeded)
{
    return std::string(type.Description) + (succeeded ? "の関連付けに成功しました｡" : "の関連付けに失敗しました｡");
}

} // namespace lt
