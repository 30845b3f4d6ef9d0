// Binding functions of dynamic libraries by name. Each library is loaded
// once and stays loaded until the exit finaliser; two parallel tables keep
// the lower-cased names and the handles.
#pragma once

#include "core/basic_string.h"
#include "core/grow_array.h"

extern GrowArray<BasicString> gLoadedLibraryNames;
extern GrowArray<void*> gLoadedLibraryHandles;

// out := the function's address, or null when the library does not load or
// does not export it. libraryName is lower-cased in place (the library is
// opened under the name as given, since file names are case-sensitive here);
// libraries already loaded are found by the lower-cased name. With debug
// reporting on, a failed load sends "TX" "Failed to load: " + name to a
// linked debugger.
void BindDllFunction(BasicString& libraryName, const BasicString& functionName, void** out);

// Exit step: unloads every bound library and empties the tables.
void UnloadBoundLibraries();
