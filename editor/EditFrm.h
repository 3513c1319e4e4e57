#pragma once
// TFormEdit: the patch editor window on one TPatch record. Its controls are the working copy
// of the patch; the record is written only by the two Ok buttons. The record's Editor field
// points back at the open window and is the only registry of open editors.

#include "gr33/Patch.h"

class LibrarianHost;
class QWidget;

// Opens an editor on the record (number 0..128, 0 for the temporary patch) or brings the one
// already open on it to the front without reloading it. An empty record raises
// "Patch (<label>) is empty!" and opens nothing; this check comes first in every case.
void OpenEditor(TPatch& record, int number, LibrarianHost& host, QWidget* parent = nullptr);
