// Names that the installer writes and the uninstaller removes again: registry keys, the
// program's file names and the runtime client identifier both programs pass on.
#pragma once

#define TANDREL_APP_PATH_KEY "Software\\Vostrane\\Tandrel98\\App Path"
#define TANDREL_VERSION_KEY "Software\\Vostrane\\Tandrel98\\Version Number"
#define TANDREL_VERSION_TEXT "1.10.05-25-98"
#define TANDREL_APP_PATHS_BASE "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths"
#define TANDREL_UNINSTALL_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tandrel98.Pro"
#define TANDREL_FILE_TYPE "Tandrel"

#define TANDREL_PROGRAM_FILE "Tandrel98.exe"
#define TANDREL_HELP_DIR "Help"
#define TANDREL_SHORTCUT_FILE "Tandrel98.lnk"

// The media runtime's setup records its clients under this identifier; its removal tool
// takes the same one.
#define TANDREL_RUNTIME_CLIENT "Tandrel98-12-01-97"
