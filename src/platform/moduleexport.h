#pragma once

// Marks a module's one exported entry; everything else a module links stays inside it.
#ifdef _WIN32
#define DOORSEL_MODULE_ENTRY extern "C" __declspec(dllexport)
#else
#define DOORSEL_MODULE_ENTRY extern "C" __attribute__((visibility("default")))
#endif
