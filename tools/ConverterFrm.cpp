#include "tools/ConverterFrm.h"

#include "gr33/TextForm.h"
#include "librarian/model/LibrarianHost.h"

TFormConverter::TFormConverter(LibrarianHost& host, QWidget* parent)
    : QWidget(parent), host_(host) {
    setWindowTitle(QString(AppName) + " Patch Converter");
}
