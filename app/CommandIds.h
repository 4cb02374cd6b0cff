#pragma once

/// The program's command identifiers: menus, toolbar and accelerators.
namespace Cmd {
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileSave = 57603;
inline constexpr int FileMruFirst = 57616;
inline constexpr int AppExit = 57665;
inline constexpr int AppAbout = 57664;
inline constexpr int EditUndo = 57643;
inline constexpr int EditCut = 57635;
inline constexpr int EditCopy = 57634;
inline constexpr int EditPaste = 57637;
inline constexpr int EditFind = 57636;
inline constexpr int EditReplace = 57641;
inline constexpr int Help = 57670;
inline constexpr int ContextHelp = 57669;
inline constexpr int NextPane = 57680;
inline constexpr int PreviousPane = 57681;
inline constexpr int ViewToolbar = 59392;
inline constexpr int ViewStatusBar = 59393;
inline constexpr int Import = 32772;
inline constexpr int Dictionary = 32775;
inline constexpr int ToggleBookmark = 32781;
inline constexpr int Insert = 32782;
inline constexpr int Extract = 32786;
inline constexpr int Generate = 32787;
inline constexpr int Options = 32797;
inline constexpr int Export = 32806;
inline constexpr int DeleteAllShortcuts = 32818;
inline constexpr int TextsNotToTranslate = 32819;
inline constexpr int ResourcesNotToExtract = 32820;
inline constexpr int Properties = 32821;
inline constexpr int FindNext = 32822;
inline constexpr int FindPrevious = 32823;
inline constexpr int ToolbarFind = 32825;
inline constexpr int FindInResources = 32826;
inline constexpr int Results = 32827;
inline constexpr int UnusedTexts = 32828;
inline constexpr int WhatsNew = 32829;
inline constexpr int DoNotTranslate = 32831;
inline constexpr int DoNotExtract = 32833;
inline constexpr int UpdateIcons = 32834;
inline constexpr int CheckTranslations = 32835;
inline constexpr int Align = 32836;
inline constexpr int Pretranslate = 32837;
inline constexpr int FindBox = 10000;
} // namespace Cmd
