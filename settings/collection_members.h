#pragma once
// The one reader of the collection's "List" key, shared by the settings store and the
// launcher so that both see the same members.
#include <windows.h>

#include <vector>

#include "settings/settings.h"

// Enumerates the "List" values below the open collection key, in registry order, and
// keeps the members whose "ExecutablePath" names an existing file. An absent "List" key
// gives an empty list.
std::vector<CollectionEntry> ReadCollectionMembers(HKEY collectionKey);
