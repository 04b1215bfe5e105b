// SPDX-License-Identifier: MIT
// custom_area_dialog.cpp: the window of the custom-area dialog GetArea ("Select Area").
#include "desktop/custom_area_dialog.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>

#include "windows/program.h"

namespace rubicel {

namespace {

struct LabelPlace {
    const char* name;
    const char* text;
    int x, y;
};

// Positions in pixels; the labels stand to the left of their boxes.
constexpr LabelPlace kLabels[] = {
    {"Label1", "Enter Map Details", 8, 7},
    {"Label3", "Centre Longitude (-180 to +180\u00b0)", 8, 53},
    {"Label4", "Centre Latitude     (+85\u00b0 to -85\u00b0)", 8, 80},
    {"Label2", "Longitude span   (0\u00b0 to +50\u00b0)", 8, 125},
    {"Label5", "Latitude span       (0\u00b0 to +50\u00b0)", 8, 157},
};

struct BoxPlace {
    const char* name;
    int x, y;
};

// In AreaBox order, which is also the tab order.
constexpr BoxPlace kBoxes[] = {{"longw", 200, 48}, {"latn", 200, 80}, {"longwid", 200, 120}, {"lathgt", 200, 152}};
constexpr int kBoxWidth = 57;
constexpr int kBoxHeight = 22;

}  // namespace

CustomAreaDialog::CustomAreaDialog(Program& p, QWidget* owner) : QDialog(owner), p_(p) {
    setObjectName("GetArea");
    setWindowTitle("Select Area");
    setModal(false);
    setFixedSize(272, 232);
    // The forms' default face, MS Sans Serif 8.25 pt, drawn in Liberation Sans:
    // the labels end before the boxes at x = 200.
    QFont face("Liberation Sans");
    face.setStyleHint(QFont::SansSerif);
    face.setPointSizeF(8.25);
    setFont(face);

    for (const LabelPlace& l : kLabels) {
        auto* label = new QLabel(QString::fromUtf8(l.text), this);
        label->setObjectName(l.name);
        label->move(l.x, l.y);
        label->adjustSize();
    }
    for (int i = 0; i < 4; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(kBoxes[i].name);
        edit->setGeometry(kBoxes[i].x, kBoxes[i].y, kBoxWidth, kBoxHeight);
        edit->installEventFilter(this);
        const auto which = static_cast<AreaBox>(i);
        connect(edit, &QLineEdit::textEdited, this, [this, which](const QString& text) {
            setBoxText(p_, which, text.toStdString());
            mirror();
        });
        boxes_[i] = edit;
    }
    okbox_ = new QPushButton("&Draw Map", this);
    okbox_->setObjectName("okbox");
    okbox_->setGeometry(96, 192, 84, 29);
    okbox_->setAutoDefault(false);
    connect(okbox_, &QPushButton::clicked, this, [this] { okbox_Click(p_); });

    setTabOrder(boxes_[0], boxes_[1]);
    setTabOrder(boxes_[1], boxes_[2]);
    setTabOrder(boxes_[2], boxes_[3]);
    setTabOrder(boxes_[3], okbox_);
    mirror();
}

void CustomAreaDialog::mirror() {
    for (int i = 0; i < 4; ++i) {
        const QString text = QString::fromStdString(p_.getArea.text[i]);
        if (boxes_[i]->text() != text) {
            // The logic has run the box's change check already.
            const QSignalBlocker quiet(boxes_[i]);
            boxes_[i]->setText(text);
        }
    }
}

bool CustomAreaDialog::eventFilter(QObject* watched, QEvent* event) {
    // A click of the primary button empties the box; the right button's context
    // menu leaves it alone.
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < 4; ++i) {
            if (watched == boxes_[i]) {
                boxClick(p_, static_cast<AreaBox>(i));
                mirror();
                break;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CustomAreaDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange) return;
    // A message box of a check is not a window of the program's own: coming
    // back from it keeps the focus where it was.
    if (!isActiveWindow()) {
        lostToMessage_ = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr;
        return;
    }
    if (!lostToMessage_) GetArea_Form_Activate(p_);
    lostToMessage_ = false;
}

}  // namespace rubicel
