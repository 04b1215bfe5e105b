// SPDX-License-Identifier: MIT
// relief_dialog.cpp: the window of the "Relief Settings" dialog: sun, exaggeration, strength, Apply.
#include "desktop/relief_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "windows/program.h"

namespace rubicel {

ReliefDialogWindow::ReliefDialogWindow(Program& p, QWidget* owner) : QDialog(owner), p_(p) {
    setObjectName("relief");
    setWindowTitle(kReliefDialogCaption);
    setModal(false);
    auto* form = new QFormLayout;
    for (int i = 0; i < 4; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString("relief%1").arg(i));
        edit->setMaximumWidth(80);
        connect(edit, &QLineEdit::textEdited, this,
                [this, i](const QString& text) { p_.reliefDialog.text[std::size_t(i)] = text.toStdString(); });
        form->addRow(new QLabel(QString::fromUtf8(kReliefBoxLabels[std::size_t(i)]), this), edit);
        boxes_[std::size_t(i)] = edit;
    }
    apply_ = new QPushButton("&Apply", this);
    apply_->setObjectName("reliefApply");
    apply_->setDefault(true);
    connect(apply_, &QPushButton::clicked, this, [this] { reliefApply_Click(p_); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
    mirror();
}

void ReliefDialogWindow::mirror() {
    for (std::size_t i = 0; i < 4; ++i) {
        const QString text = QString::fromStdString(p_.reliefDialog.text[i]);
        if (boxes_[i]->text() != text) boxes_[i]->setText(text);
    }
}

}  // namespace rubicel
