// The librarian's "Edit" menu: undo and redo of the changes to the collection's slots, kept by
// TCollectionHistory and named by the command that made them.

#include "librarian/MainFrm.h"

#include "librarian/CollectionUndo.h"
#include "qtcommon/RunHandler.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <utility>

const char* TFormMain::stepText(void (TFormMain::*handler)()) {
    static const std::pair<void (TFormMain::*)(), const char*> steps[] = {
        {&TFormMain::CutPatch1Click, "Cut"},
        {&TFormMain::PasteTmpPatchOver1Click, "Paste"},
        {&TFormMain::PasteTmpPatchInsert1Click, "Insert"},
        {&TFormMain::ReceivePatch1Click, "Receive"},
        {&TFormMain::ReceiveCollection1Click, "Receive All"},
        {&TFormMain::ResumeReceive1Click, "Resume Receive"},
        {&TFormMain::LoadPatch1Click, "Load Patch"},
    };
    for (const auto& [command, text] : steps)
        if (command == handler) return text;
    return "";
}

void TFormMain::runCommand(void (TFormMain::*handler)()) {
    history_->Begin(stepText(handler));
    RunHandler([&] { (this->*handler)(); });
    // Also what a command changed before it failed is one step.
    history_->End();
}

void TFormMain::CollectionReplaced() {
    history_->Replaced();
}

void TFormMain::createEditMenu() {
    auto* edit = new QMenu("Edit", menuBar());
    edit->setObjectName("EditMenu1");
    menuBar()->insertMenu(findChild<QMenu*>("Options1")->menuAction(), edit);
    QAction* undo = history_->Stack().createUndoAction(edit, "Undo");
    undo->setObjectName("Undo1");
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = history_->Stack().createRedoAction(edit, "Redo");
    redo->setObjectName("Redo1");
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    edit->addAction(undo);
    edit->addAction(redo);
}
