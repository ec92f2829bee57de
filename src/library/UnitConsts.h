#pragma once
// User-visible texts of the reply library. "%s" stands for the one argument
// (see FormatMessageText).
namespace corvane {

inline constexpr const char* kMsgFileCantBeOpened = "File \"%s\" can't be opened.";
inline constexpr const char* kMsgFileIncorrectStructure = "File \"%s\" has incorrect structure.";
inline constexpr const char* kMsgHotKeyAssigned
    = "That HotKey is already assigned to another reply. Please, choose another key combination.";
inline constexpr const char* kMsgMacroAssigned
    = "That Macro is already assigned to another reply. Please, choose another macro string.";
inline constexpr const char* kMsgFileCantBeSaved = "File \"%s\" can't be saved.";
inline constexpr const char* kMsgEntryCantBeMoved = "\"%s\" can't be moved.";
inline constexpr const char* kMsgDeleteFolder = "Do you really want to delete \"%s\" folder?";
inline constexpr const char* kMsgDeleteReply = "Do you really want to delete \"%s\" reply?";
inline constexpr const char* kMsgMissingEntriesDropped
    = "These entries of the library were missing on disk and have been taken out of it:\r\n\r\n%s";

inline constexpr const char* kNewReplyName = "New Reply";
inline constexpr const char* kNewFolderName = "New Folder";
inline constexpr const char* kFolderNameSuffix = " Folder";

inline constexpr const char* kLibraryFolder = "Replies";
inline constexpr const char* kIndexFileName = "index.sub";
inline constexpr const char* kReplyExtension = ".rep";
inline constexpr const char* kFolderPrefix = "FOLDER_";
inline constexpr const char* kReplyPrefix = "REPLY_";

// Files and directories named cvn*.tmp in a library folder are the program's
// own temporaries: a write through a temporary file (see
// IFileSystem::WriteFileReplacing), a folder being copied, the move record.
inline constexpr const char* kTempPrefix = "cvn";
inline constexpr const char* kTempExtension = ".tmp";
inline constexpr const char* kMoveRecordName = "cvnmove.tmp";

} // namespace corvane
