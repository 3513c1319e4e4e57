// The Multi-FX Parameters page: twelve bars for the effect parameter bytes 108..119, captioned,
// ranged and defaulted by the effect type selected on the Effects page.

#include "editor/EditFrm.h"

#include "base/Dialogs.h"
#include "controls/IBar.h"
#include "editor/EffectSlotOf.h"

#include "qtcommon/QtText.h"
#include <QComboBox>

#include <QLabel>

#include <cmath>

namespace {
constexpr int BarLeft = 8;
constexpr int BarTop = 24;
constexpr int BarStep = 23;
constexpr int BarWidth = 417;
constexpr int BarHeight = 13;
constexpr int CaptionLeft = 427;
// Right margin of the page that a caption must keep clear of.
constexpr int CaptionMargin = 15;

} // namespace

void TFormEdit::BuildFxPage(QWidget* page) {
    LabelFXType = new QLabel(ToQString(EffectHeadingDesignCaption), page);
    LabelFXType->setObjectName("LabelFXType");
    QFont headingFont = LabelFXType->font();
    headingFont.setPixelSize(13);
    LabelFXType->setFont(headingFont);
    QPalette headingPalette = LabelFXType->palette();
    headingPalette.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    LabelFXType->setPalette(headingPalette);
    LabelFXType->move(8, 3);
    LabelFXType->adjustSize();

    for (int i = 1; i <= EffectSlotCount; ++i) {
        const int top = BarTop + BarStep * (i - 1);
        auto* bar = new TIBar(page);
        bar->setObjectName("IBar" + QString::number(i));
        bar->setGeometry(BarLeft, top, BarWidth, BarHeight);
        bar->SetMin(0);
        bar->SetMax(127);
        bar->SetBase(0);
        bar->SetDiscretization(1);
        bar->SetValue(0);
        bar->SetScale(10);
        bars_[i - 1] = bar;

        auto* caption = new QLabel("Name", page);
        caption->setObjectName("LabelP" + QString::number(i));
        QPalette palette = caption->palette();
        palette.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0xFF));
        caption->setPalette(palette);
        caption->move(CaptionLeft, top);
        caption->adjustSize();
        captions_[i - 1] = caption;
    }
}

void TFormEdit::SetupEffectPage() {
    SetupEffectPage(ComboBox3->currentIndex(), false);
}

void TFormEdit::SetupEffectPage(int effectType, bool reset) {
    pageEffectType_ = effectType;
    const EffectTypeInfo* type = EffectType(effectType);
    if (type) {
        for (int i = 0; i < EffectSlotCount; ++i)
            captions_[i]->setText(ToQString(EffectSlotOf(*type, i + 1).caption));
        for (int i = 0; i < EffectSlotCount; ++i) {
            const EffectSlot& slot = EffectSlotOf(*type, i + 1);
            bars_[i]->SetMax(static_cast<float>(slot.max));
            bars_[i]->SetBase(static_cast<float>(slot.base));
        }
    } else {
        for (int i = 0; i < EffectSlotCount; ++i) {
            captions_[i]->setText(ToQString(UnusedSlotCaption));
            bars_[i]->SetMax(0);
            bars_[i]->SetBase(0);
            bars_[i]->SetValue(bars_[i]->Base());
        }
        Prompts().ShowMessage(std::string(EffectTypeErrorText));
    }
    ComboBox21Change();
    for (TIBar* bar : bars_) {
        if (reset || bar->Value() < bar->Min() || bar->Value() > bar->Max())
            bar->SetValue(bar->Base());
    }
    for (QLabel* caption : captions_)
        caption->setToolTip(caption->text());
    for (int i = 0; i < EffectSlotCount; ++i)
        bars_[i]->setToolTip(captions_[i]->text());
    for (QLabel* caption : captions_)
        FitCaption(*caption);
    for (int i = 0; i < EffectSlotCount; ++i)
        bars_[i]->setEnabled(captions_[i]->toolTip() != ToQString(UnusedSlotCaption));
}

void TFormEdit::FitCaption(QLabel& label) const {
    const QFontMetrics metrics = label.fontMetrics();
    QString caption = label.text();
    bool shortened = false;
    while (!caption.isEmpty() &&
           label.x() + metrics.horizontalAdvance(caption) > PageWidth - CaptionMargin) {
        caption.chop(1);
        shortened = true;
    }
    if (shortened) caption += "...";
    label.setText(caption);
    label.adjustSize();
}

void TFormEdit::ComboBox21Change() {
    LabelFXType->setText(QString::fromStdString(EffectHeading(
        ComboBox3->currentText().toStdString(), ComboBox21->currentText().toStdString())));
    LabelFXType->adjustSize();
}

void TFormEdit::ComboBox3Change() {
    // Picking the type the page already shows keeps the parameters; only a new type resets them.
    if (ComboBox3->currentIndex() == pageEffectType_) return;
    SetupEffectPage(ComboBox3->currentIndex(), true);
}

void TFormEdit::LoadEffectBars(const PatchBytes& bytes) {
    for (int i = 0; i < EffectSlotCount; ++i)
        bars_[i]->SetValue(static_cast<float>(bytes[FirstEffectByte + i]));
}

void TFormEdit::StoreEffectBars(TPatch& target, bool& changed) const {
    // With no effect type selected the disabled bars hold no values of the patch.
    const EffectTypeInfo* type = EffectType(ComboBox3->currentIndex());
    if (!type) return;
    for (int i = 0; i < EffectSlotCount; ++i) {
        const EffectSlot& slot = EffectSlotOf(*type, i + 1);
        // Ties to even, as the bars quantise.
        const float rounded = std::nearbyint(bars_[i]->Value());
        // A value typed outside the slot's range through the bar stores the slot's default.
        const int value = rounded >= 0 && rounded <= static_cast<float>(slot.max)
                              ? static_cast<int>(rounded)
                              : slot.base;
        std::uint8_t& byte = target.Data()[FirstEffectByte + i];
        if (byte != value) {
            byte = static_cast<std::uint8_t>(value);
            changed = true;
        }
    }
}
