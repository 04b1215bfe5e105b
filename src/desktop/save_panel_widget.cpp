// SPDX-License-Identifier: MIT
// save_panel_widget.cpp: the save panel SaveBox drawn over the map picture.
#include "desktop/save_panel_widget.h"

#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "windows/program.h"

namespace rubicel {

namespace {

// Twips to pixels, 15 to one.
QRect twips(int left, int top, int width, int height) { return {left / 15, top / 15, width / 15, height / 15}; }

// The panel's faces: Arial and the default MS Sans Serif are drawn in
// Liberation Sans, which has Arial's metrics, so the texts fit their labels.
QFont fontOf(double points, bool bold = false) {
    QFont font("Liberation Sans");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QLabel* label(QWidget* parent, const char* name, const char* text, QRect place) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(place);
    return l;
}

}  // namespace

SavePanelWidget::SavePanelWidget(Program& p, QWidget* parent) : QFrame(parent), p_(p) {
    setObjectName("SaveBox");
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setGeometry(twips(0, 0, kSaveBoxWidth, kSaveBoxHeight));
    setFont(fontOf(8.25));

    label(this, "Label1", "Enter Filename", twips(240, 240, 1215, 255));
    newmap_ = new QLineEdit(this);
    newmap_->setObjectName("newmap");
    newmap_->setGeometry(twips(240, 480, 3495, 285));
    newmap_->installEventFilter(this);
    connect(newmap_, &QLineEdit::textEdited, this,
            [this](const QString& text) { newmap_Change(p_, text.toStdString()); });

    label(this, "Label2", "Generated images will be saved to:", twips(240, 960, 2655, 240));
    showsavepath_ = label(this, "showsavepath", "", twips(240, 1200, 3495, 285));
    showsavepath_->setFrameShape(QFrame::Box);
    showsavepath_->setAutoFillBackground(true);
    QPalette pathColours = showsavepath_->palette();
    pathColours.setColor(QPalette::WindowText, QColor(0, 0, 255));
    pathColours.setColor(QPalette::Window, pathColours.color(QPalette::Base));
    showsavepath_->setPalette(pathColours);

    label(this, "Label3", "Images", twips(240, 1680, 735, 240))->setFont(fontOf(8.25, true));
    fileList_ = new QListWidget(this);
    fileList_->setObjectName("FileList");
    fileList_->setGeometry(twips(240, 1920, 3495, 2460));
    fileList_->setFont(fontOf(9.75));

    quit_ = new QPushButton("&Quit", this);
    quit_->setObjectName("saveit_1");
    quit_->setGeometry(twips(1080, 4500, 810, 315));
    save_ = new QPushButton("&Save", this);
    save_->setObjectName("saveit_0");
    save_->setGeometry(twips(2040, 4500, 810, 315));
    for (QPushButton* b : {quit_, save_}) b->setFont(fontOf(9.75));
    connect(save_, &QPushButton::clicked, this, [this] { saveit_Click(p_, 0); });
    connect(quit_, &QPushButton::clicked, this, [this] { saveit_Click(p_, 1); });

    hide();
}

void SavePanelWidget::mirror() {
    const SavePanel& panel = p_.saveBox;
    showsavepath_->setText(QString::fromStdString(panel.mapsFolder));
    const QString name = QString::fromStdString(panel.newmap);
    if (newmap_->text() != name) newmap_->setText(name);
    QStringList names;
    for (const std::string& n : panel.FileList) names << QString::fromStdString(n);
    QStringList shown;
    for (int i = 0; i < fileList_->count(); ++i) shown << fileList_->item(i)->text();
    if (shown != names) {
        fileList_->clear();
        fileList_->addItems(names);
    }
    raise();  // above the map picture
}

void SavePanelWidget::hideEvent(QHideEvent* event) {
    // However the panel closes, the keyboard goes back to the map: a clicked
    // button would hand it on to a control that keeps the arrow keys.
    if (!event->spontaneous()) window()->setFocus(Qt::OtherFocusReason);
    QFrame::hideEvent(event);
}

bool SavePanelWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == newmap_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && NewMap_KeyPress(p_, 13)) return true;
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace rubicel
