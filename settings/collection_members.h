#pragma once
// The one reader of the collection's "List" key and of its "StartRandom" value, shared by
// the settings store, the settings dialog and the launcher so that all see the same.
#include <windows.h>

#include <vector>

#include "settings/settings.h"

// Enumerates the "List" values below the open collection key, in registry order, and
// keeps the members whose "ExecutablePath" names an existing file. An absent "List" key
// gives an empty list.
std::vector<CollectionEntry> ReadCollectionMembers(HKEY collectionKey);

// "StartRandom" below the open collection key is on: it exists as a REG_DWORD with data and
// a non-zero value. Anything else, a string "1" or an absent value included, is off.
bool StartRandomIsOn(HKEY collectionKey);
