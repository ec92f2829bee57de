#pragma once
// User-visible texts of the main window and its commands.

namespace corvane {

inline constexpr const char* kAppTitle = "Corvane";
inline constexpr const char* kCaptionListOfMacros = "List of Macros:";
inline constexpr const char* kCaptionListOfHotKeys = "List of Hot Keys:";

inline constexpr const char* kCmdAddNewFolder = "Add New Folder";
inline constexpr const char* kCmdAddNewReply = "Add New Reply";
inline constexpr const char* kCmdDelete = "Delete";
inline constexpr const char* kCmdSaveAll = "Save All";
inline constexpr const char* kCmdCopyEntireReply = "Copy the entire reply";
inline constexpr const char* kCmdPasteIntoLastActive = "Paste the reply into the last active window";

} // namespace corvane
