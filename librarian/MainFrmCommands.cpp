// The librarian's command handlers: each forwards to the collection with the grid's selected
// patch, or shows one of the other windows. They run inside RunHandler (see command()).

// The editor header comes before any Qt header: the parameter catalogue it pulls in has a
// member named like one of Qt's keyword macros.
#include "editor/EditFrm.h"

#include "librarian/MainFrm.h"

#include "base/Dialogs.h"
#include "gr33/PatchNumber.h"
#include "gr33/TextForm.h"
#include "librarian/About.h"
#include "librarian/CompareWindow.h"
#include "librarian/MidiLogWindow.h"
#include "model/GridFont.h"
#include "model/Settings.h"
#include "qtcommon/RunHandler.h"

#include <QAction>

void TFormMain::OpenStartFile(const std::string& fileName) {
    RunHandler([&] { collection_.OpenFile(fileName); });
}

void TFormMain::LoadCollectionClick() {
    collection_.LoadCollection();
}
void TFormMain::SaveCollectionClick() {
    collection_.SaveCollection();
}
void TFormMain::ReceiveCollection1Click() {
    collection_.ReceiveCollection();
}
void TFormMain::ResumeReceive1Click() {
    collection_.ResumeReceive();
}
void TFormMain::SendCollection1Click() {
    collection_.SendCollection();
}

void TFormMain::LoadPatch1Click() {
    collection_.LoadPatch(SelectedPatch());
}
void TFormMain::SaveAsPatch1Click() {
    collection_.SavePatch(SelectedPatch());
}
void TFormMain::ReceivePatch1Click() {
    collection_.ReceivePatch(SelectedPatch());
}
void TFormMain::SendPatch1Click() {
    collection_.SendPatch(SelectedPatch());
}
void TFormMain::EditPatch1Click() {
    int number = SelectedPatch();
    OpenEditor(collection_.Slot(number), number, *this, this);
}
void TFormMain::CutPatch1Click() {
    collection_.CutPatch(SelectedPatch());
}
void TFormMain::CopyPatch1Click() {
    collection_.CopyPatch(SelectedPatch());
}
void TFormMain::ComparePatch1Click() {
    const int number = SelectedPatch();
    ShowComparison("Compare " + PatchLabel(number) + " With " + PatchLabel(TempPatchNumber),
                   collection_.Slot(number).Bytes(), collection_.TempPatch().Bytes());
}

void TFormMain::ShowComparison(const std::string& title, const PatchBytes& a, const PatchBytes& b) {
    if (!compare_) compare_ = new TCompareWindow(this);
    compare_->Compare(title, a, b);
}

void TFormMain::LoadTmpPatch1Click() {
    collection_.LoadTempPatch();
}
void TFormMain::SaveAsTmpPatch1Click() {
    collection_.SaveTempPatch();
}
void TFormMain::ReceiveTmpPatch1Click() {
    collection_.ReceiveTempPatch();
}
void TFormMain::SendTmpPatch1Click() {
    collection_.SendTempPatch();
}
void TFormMain::EditTmpPatch1Click() {
    OpenEditor(collection_.TempPatch(), TempPatchNumber, *this, this);
}
void TFormMain::PasteTmpPatchOver1Click() {
    collection_.PasteOver(SelectedPatch());
}
void TFormMain::PasteTmpPatchInsert1Click() {
    collection_.PasteInsert(SelectedPatch());
}

void TFormMain::ImportExportPatch1Click() {
    if (!converter_) return;
    converter_->show();
    converter_->raise();
    converter_->activateWindow();
}

void TFormMain::ShowMIDIConsole1Click() {
    if (!console_) return;
    if (consoleOption_->isChecked()) {
        console_->show();
        console_->raise();
    } else {
        console_->hide();
    }
}

void TFormMain::About1Click() {
    about_->SetVersion(AppVersion);
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void TFormMain::SetGridFont1Click() {
    auto chosen = Prompts().ChooseFont(gridFont_);
    if (!chosen) return;
    WriteSetting("GridFont", FontToString(*chosen));
    BuildGrid(false);
}

void TFormMain::MidiLog1Click() {
    if (!midiLogWindow_) midiLogWindow_ = new TMidiLogWindow(this);
    midiLogWindow_->show();
    midiLogWindow_->raise();
    midiLogWindow_->activateWindow();
}
