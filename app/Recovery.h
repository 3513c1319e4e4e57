#pragma once
// The application's part in keeping a collection when it is ended from outside.

class TCollection;

// At start: tells where the collection of an earlier run ended by a signal was saved, once.
void ReportRecoveredCollection();

// At a quit by signal: saves a modified collection to the user's data folder and remembers
// where for the next start. No window is shown; a failure is written to standard error.
void RecoverCollection(const TCollection& collection);
