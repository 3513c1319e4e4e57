#pragma once
// The tables of the patch library and the steps that bring an older library file up to date.
// The file's PRAGMA user_version is the number of steps applied; each step runs in its own
// transaction, so a library is always at one version or the next.
//
// sounds    one row per sound: bytes 12..127 of a patch (everything but the name), with the
//           number of patches (names) that share it.
// patches   one row per distinct 128 bytes; the name and every byte 12..127 as its own column
//           b12..b127, so searches on parameters compare plain integer columns.
// Both are found by a 64-bit hash of their bytes (StableHash) and then compared whole.
// snapshots one row per collection received from the device; `received` slots of 128 arrived.
// sightings each time a patch was seen: when, how, where (file path or port) and slot; a
//           device snapshot's slots are its sightings (an empty slot has none).
// tags      (from version 2) words the user attaches to a patch; patches also gain a favourite
//           mark and notes.

#include "library/Sqlite.h"

constexpr int LibrarySchemaVersion = 2;

// Applies the steps from the file's version up to `target`; a file of a newer version is left
// alone (the caller refuses it).
void MigrateLibrary(TDatabase& db, int target = LibrarySchemaVersion);
int LibraryVersion(TDatabase& db);
