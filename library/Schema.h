#pragma once
// The tables of the patch library and the steps that bring an older library file up to date.
// The file's PRAGMA user_version is the number of steps applied; each step runs in its own
// transaction, so a library is always at one version or the next.
//
// sounds    one row per sound: bytes 12..127 of a patch (everything but the name), with the
//           number of patches (names) that share it.
//           Found by a 64-bit hash of those bytes, then compared whole.
// patches   one row per distinct 128 bytes: its sound and name bytes (together the patch's
//           bytes, its identity), the name as text and in lower case (`folded`), and bytes
//           12..127 again, packed seven to an integer column (w0..w16, ByteExpression), so a
//           search reads a few short columns of a short row; the two tones and the effect type
//           are indexed.
// snapshots one row per collection received from the device; `received` slots of 128 arrived.
// sightings each time a patch was seen: when, how, where (file path or port) and slot; a
//           device snapshot's slots are its sightings (an empty slot has none).
// tags      (from version 2) words the user attaches to a patch; patches also gain a favourite
//           mark and notes.
//           (from version 3) patches have a deleted mark: a deleted patch is left out of
//           searches but stays what its sightings and snapshots refer to.

#include "library/Sqlite.h"

#include <string>

constexpr int LibrarySchemaVersion = 4;

// Bytes 12..127 of a patch as seven bytes to a word: byte b is bits 8k..8k+7 of word
// (b - 12) / 7, k = (b - 12) % 7.
constexpr int FirstPackedByte = 12;
constexpr int PackedWords = 17;
constexpr int PackedWord(int byte) {
    return (byte - FirstPackedByte) / 7;
}
constexpr int PackedShift(int byte) {
    return 8 * ((byte - FirstPackedByte) % 7);
}
// The SQL of byte 12..127's value in a patches row, and of the pair starting at the byte.
std::string ByteExpression(int byte);
std::string PairExpression(int firstByte);

// SQLite's default is 4 KiB: a search that tests a parameter steps through every patches row,
// and with a quarter as many pages that scan takes a fifth less.
constexpr int LibraryPageSize = 16384;

// Gives a new file LibraryPageSize pages (before anything is written to it) and rewrites an
// older file of smaller pages with them. The rewrite (VACUUM) needs the file out of WAL mode, so
// only while no other program has it open; otherwise the file is left for a later opening.
void UseLibraryPages(TDatabase& db);

// Applies the steps from the file's version up to `target`; a file of a newer version is left
// alone (the caller refuses it).
void MigrateLibrary(TDatabase& db, int target = LibrarySchemaVersion);
int LibraryVersion(TDatabase& db);
