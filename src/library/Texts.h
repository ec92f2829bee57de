#pragma once
// The program's user-visible texts, in one place: messages, captions, hints
// and the names new entries get. "%s" stands for a message's one argument
// (see FormatMessageText). The commands' own texts are in the command table;
// the formatting toolbar's hints and the dialogs' button texts stand beside
// their controls' layout, as a dialog template would hold them.
#include "CorvaneVersion.h"

namespace corvane {

// The program.
inline constexpr const char* kAppTitle = "Corvane";
inline constexpr const char* kAboutTitle = "Corvane v" CORVANE_VERSION_MAJOR_MINOR;
inline constexpr const char* kUnexpectedError = "Unexpected error.";
// The message boxes' titles.
inline constexpr const char* kCaptionInformation = "Information";
inline constexpr const char* kCaptionWarning = "Warning";
inline constexpr const char* kCaptionError = "Error";
inline constexpr const char* kCaptionConfirm = "Confirm";

// The main window's captions and labels.
inline constexpr const char* kCaptionListOfMacros = "List of Macros:";
inline constexpr const char* kCaptionListOfHotKeys = "List of Hot Keys:";
inline constexpr const char* kLabelName = "Name:";
inline constexpr const char* kLabelMacro = "Macro:";
inline constexpr const char* kLabelHotKey = "Hot Key:";
inline constexpr const char* kLabelCtrlAlt = "<CTRL>+<ALT>+";
inline constexpr const char* kLabelShift = "<SHIFT>";

// The reply library and its editing.
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

// The team library.
inline constexpr const char* kMsgSharedReadOnly
    = "The team library can't be changed now: its folder is offline or only allows reading.";
inline constexpr const char* kMsgSharedBusy
    = "The team library folder \"%s\" is being changed by another computer. Please try again.";
inline constexpr const char* kMsgSharedIsOwnLibrary
    = "The team library folder \"%s\" holds your own library or lies inside it, so it is not loaded. Please choose "
      "another folder in Options.";
inline constexpr const char* kMsgSharedConflicts = "These team replies have a macro or hot key that one of your own "
                                                   "replies already uses; your own reply keeps it:\r\n\r\n%s";
// Added to a reply's name for the user's version of a reply that another
// computer changed while the user was editing it.
inline constexpr const char* kMyCopySuffix = " (my copy)";

// Settings and options.
// Shown when a setting could not be written.
inline constexpr const char* kMsgSettingsNotSaved
    = "Corvane could not save its settings in the registry. They will be lost when the program ends.";
inline constexpr const char* kAlwaysOnTopRestartWarning
    = "You will need to restart the program for the change to take effect.";
inline constexpr const char* kEmptyTipsText = "Sorry, the list of tips is empty...";

// The tray icon.
inline constexpr const char* kTrayHint = "Corvane";
inline constexpr const char* kTrayShowCaption = "Show [Hotkey: Ctrl+Shift+Q]";
inline constexpr const char* kTrayInsertCaption
    = "Insert the selected reply into the current window [Hotkey: Ctrl+Shift+V]";
inline constexpr const char* kTrayInsertHint = "Insert the latest used reply into the current active window";
inline constexpr const char* kTrayExitCaption = "Exit";
inline constexpr const char* kTrayPauseCaption = "Pause Corvane";

inline constexpr char HotKeyTypesCharacterText[]
    = "This hot key also types a character on your keyboard (with AltGr): in other programs that character "
      "can no longer be typed while Corvane runs.";

// Delivery and the hooks.
inline constexpr char MacroInsCaption[] = "Corvane - Do Macro Insertions and Replacements ";
inline constexpr char ClipboardBusyText[]
    = "The reply was not delivered: another program is using the clipboard. Please try again.";
inline constexpr char TargetGoneText[]
    = "The reply was not pasted: the window it was meant for has been closed. It is on the clipboard.";
inline constexpr char ElevatedTargetText[] = "Corvane cannot type into a program that runs as administrator: \"%s\".";
inline constexpr char TypingStoppedText[]
    = "The reply was not typed in full: the system refused the keystrokes. It is on the clipboard.";
inline constexpr char ConsoleSeveralLinesText[]
    = "This reply has several lines, so Corvane does not type it into a console window, where each line would run. "
      "It is on the clipboard.";
inline constexpr char ClipboardNotKeptText[]
    = "The reply was pasted, but the clipboard held too much to keep: what you had copied is gone.";
inline constexpr char ClipboardHeldNotKeptText[]
    = "The reply was pasted, but another program held the clipboard: what you had copied is gone.";
inline constexpr const char* ElevatedWritableFolderText
    = "Corvane runs as administrator from \"%s\", a folder that users without administrator rights can change, "
      "so it does not watch the keyboard: a file changed there would run with administrator rights. "
      "Install Corvane in Program Files, or run it without administrator rights.";
inline constexpr char LibraryNotLoadedText[] = "Library was not loaded. Please restart Corvane.";
inline constexpr const char* kHookHandlerError = "Unexpected error in a hook event handler.";

} // namespace corvane
