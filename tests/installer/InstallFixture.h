// What the installer and uninstaller tests share: the distribution folder, a clean slate
// before and after each test (no installation, no registry rows, no shortcuts), running
// Setup through its dialogs, and reading what it left.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WindowDriver.h"

extern const char kDefaultInstallDir[];
// How long an installation may take from Continue to "Congratulation!": it takes one or
// two seconds here, its animation included.
const DWORD kInstallTimeoutMs = 60000;
extern const char* const kMainFiles[3];
extern const char* const kHelpFiles[12];

// A path of the build machine's file system as a Windows path (on drive Z:).
std::string WindowsPath(const char* pszUnixPath);
// The distribution folder the build produced, as a Windows path.
std::string DistDir();
// A file of the golden folder.
std::string GoldenPath(const char* pszName);

// The distribution's files: Setup, the runtime's setup and removal tool, and what is installed.
std::vector<std::string> DistributionNames();
// Copies the distribution's files into dir (a drive root too), leaving out the names given.
void CopyDistribution(const std::string& dir, const std::vector<std::string>& leaveOut = {});
// Deletes a directory with everything in it.
void RemoveTree(const std::string& dir);
// Deletes a registry key with all its subkeys.
void DeleteRegistryTree(HKEY hRoot, const char* pszKey);
bool RegistryKeyExists(HKEY hRoot, const char* pszKey);
// A key's value: false when missing. The type and byte length come back when asked for.
bool ReadRegistryValue(HKEY hRoot, const char* pszKey, const char* pszValue,
                       std::vector<BYTE>* pData, DWORD* pdwType = nullptr);
bool ReadRegistryText(HKEY hRoot, const char* pszKey, const char* pszValue, std::string* pText);
void WriteRegistryText(HKEY hRoot, const char* pszKey, const char* pszValue, const char* pszText);

// The folders the shortcuts go to, read the way the programs do.
std::string StartMenuShortcut();
std::string DesktopShortcut();
// The path a shell link file points at, read with the shell's own link object.
std::string ShortcutTarget(const std::string& linkPath);

// regedit's export of one key, with "\n" line ends; empty when regedit failed.
std::string ExportKey(const std::string& key);
std::string ReadTextFile(const std::string& path);

// Every file of the list is in its place under dir with the source's bytes; a file
// missing from the source is missing from the installation.
void ExpectInstalledFrom(const std::string& sourceDir, const std::string& dir);

// The files an installation holds, relative to its directory ("Help\\Demo.html").
std::vector<std::string> InstalledNames();
// dir + "\\" + name, where dir may be a drive root ("Q:\\").
std::string JoinPath(const std::string& dir, const std::string& name);
// The installed files laid out under dir from the distribution, as Setup copies them,
// without running Setup.
void LayOutInstallation(const std::string& dir);
// The runtime's removal tool in the system folder, where its setup puts it.
std::string RemovalToolPath();
bool PlaceRemovalTool();

// The system's temporary directory, with its trailing backslash.
std::string TempDir();
// The uninstaller's batch file: the temporary directory + "\Tandrel98.bat".
std::string CleanupBatchFile();
// Every uninstaller batch file in the temporary directory ("Tandrel98*.bat"): while one
// still runs, the next uninstall writes one of another name.
std::vector<std::string> CleanupBatchFiles();
// Whether a process of this program file runs (the tests that start processes run one at a
// time).
bool ProcessRuns(const char* pszExe);
// True once the file is gone; false when it is still there after dwTimeoutMs.
bool WaitForFileGone(const std::string& path, DWORD dwTimeoutMs);

// A table row's name as a test name: its words joined, each begun with a capital.
std::string TestNameOf(const char* pszRowName);

// Removes every trace of an installation: install directory, registry rows, shortcuts,
// the runtime's records and removal tool, and the clean-up batch file.
void RemoveEverythingInstalled();

// Each test starts and ends without an installation.
class CInstallTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts Setup.exe of sourceDir in sourceDir.
    void StartSetup(const std::string& sourceDir);
    // Welcome → Continue, then types dir into the directory dialog and continues.
    void ContinueToDirectory(const std::string& dir);
    // A whole installation from sourceDir into dir, ending with "No" at Congratulation
    // (or "Yes", which opens the readme).
    void Install(const std::string& sourceDir = DistDir(),
                 const std::string& dir = kDefaultInstallDir, bool bOpenReadme = false);

    CProcessDriver m_setup;
};

// The tests that only read an installation share one, made from the distribution into
// the default directory by SharedInstallation.Install before them and removed by
// SharedInstallation.Remove after them. They must not change it.
class CInstalledTest : public ::testing::Test {
protected:
    void SetUp() override;
};
