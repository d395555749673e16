// Fetching a media address into the local cache, for an engine that cannot open addresses.
// The system's URL service runs on a worker thread while a small dialog shows its progress
// and offers Cancel; the player's interface stays alive and a stalled server ends the fetch.
#pragma once

#include <windows.h>

// Whether pszPath is an address (http, https, ftp) rather than a file.
bool IsMediaAddress(const char* pszPath);

// Fetches pszUrl into the cache and puts the local file's path into pszLocal, while a
// dialog shows the progress and offers Cancel. S_OK when the whole media arrived; a
// failure when the service failed, the user cancelled (E_ABORT) or the server sent
// nothing for kDownloadStallSeconds (HRESULT_FROM_WIN32(ERROR_TIMEOUT)).
HRESULT DownloadWithProgress(const char* pszUrl, char* pszLocal, int cchLocal);

const DWORD kDownloadStallSeconds = 30;

// The progress bar's percentage for ulProgress bytes of ulMax, over the whole range of
// the service's unsigned counts; 100 once ulProgress reaches ulMax.
int DownloadPercent(ULONG ulProgress, ULONG ulMax);
