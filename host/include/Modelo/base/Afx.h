// Basic definitions shared by the framework library and the plug-ins that link against it.
#pragma once

// Everything the plug-ins may call is exported explicitly; the rest of the library stays
// hidden so that two plug-ins loaded side by side never bind to each other's internals.
#define MODELO_API __attribute__((visibility("default")))
#define MODELO_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

using UINT = unsigned int;

// A plug-in's classes are exported with all their members.
#define MODELO_PLUGIN_API __attribute__((visibility("default")))
