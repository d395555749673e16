// The stand-in media runtime keeps one registry value per client program that installed
// it, named by the client's identifier.
#pragma once

#define RUNTIME_CLIENTS_KEY "Software\\DirectX Media Runtime\\Clients"
#define RUNTIME_ROOT_KEY "Software\\DirectX Media Runtime"
#define RUNTIME_REMOVAL_TOOL "purgedxm.exe"
