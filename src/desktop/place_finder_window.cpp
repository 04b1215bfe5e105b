// SPDX-License-Identifier: MIT
// place_finder_window.cpp: the tool window "Find Place": a name's best matches; the chosen one's map, marked.
#include "desktop/place_finder_window.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "places/place_index.h"
#include "desktop/main_form.h"
#include "desktop/map_picture_widget.h"
#include "windows/explore.h"
#include "windows/program.h"

namespace rubicel {
namespace {

QString text(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// The columns of the list, as FinderRow holds them.
enum Column { kName, kType, kDiameter, kLatitude, kLongitude, kColumns };

// The mark: a ring of this radius, pixels, with the name beside it.
constexpr int kRingRadius = 7;

// The key that opens the window: what follows the three spaces at the end of
// the item's caption ("Find Place...   Ctrl+F").
QKeySequence keyOfCaption(const QString& caption) {
    const qsizetype at = caption.lastIndexOf("   ");
    return at < 0 ? QKeySequence() : QKeySequence(caption.mid(at + 3).trimmed());
}

}  // namespace

PlaceFinderWindow::PlaceFinderWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName("Finder");
    setWindowTitle("Find Place");
    field_ = new QLineEdit(this);
    field_->setObjectName("findText");
    field_->setPlaceholderText("Name of a feature or landing site");
    field_->setClearButtonEnabled(true);
    matches_ = new QTreeWidget(this);
    matches_->setObjectName("matches");
    matches_->setColumnCount(kColumns);
    matches_->setHeaderLabels({"Name", "Type", "Diameter (km)", "Latitude", "Longitude (E)"});
    matches_->setRootIsDecorated(false);
    matches_->setUniformRowHeights(true);
    matches_->setAllColumnsShowFocus(true);
    matches_->setSelectionMode(QAbstractItemView::SingleSelection);
    matches_->header()->setStretchLastSection(false);
    matches_->header()->setSectionResizeMode(kName, QHeaderView::Stretch);
    for (int c = kType; c < kColumns; ++c) matches_->header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    matches_->setMinimumSize(520, 300);
    note_ = new QLabel(this);
    note_->setWordWrap(true);
    note_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(field_);
    layout->addWidget(matches_, 1);
    layout->addWidget(note_);
    setFocusProxy(field_);

    QObject::connect(field_, &QLineEdit::textChanged, this, [this](const QString& typed) {
        if (onTextChanged) onTextChanged(typed);
    });
    QObject::connect(matches_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (onChoose) onChoose(matches_->indexOfTopLevelItem(item));
    });
}

void PlaceFinderWindow::showRows(const std::vector<FinderRow>& rows, const QString& note) {
    matches_->clear();
    QList<QTreeWidgetItem*> items;
    for (const FinderRow& row : rows) {
        auto* item = new QTreeWidgetItem(
            QStringList{text(row.name), text(row.type), text(row.diameter), text(row.latitude), text(row.longitude)});
        for (int c = kDiameter; c < kColumns; ++c) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
    }
    matches_->addTopLevelItems(items);
    matches_->setCurrentItem(nullptr);
    matches_->clearSelection();
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
}

void PlaceFinderWindow::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers keys = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (keys == Qt::AltModifier && (key == Qt::Key_Left || key == Qt::Key_Right)) {
        if (onHistoryKey) onHistoryKey(key == Qt::Key_Right);
        return;
    }
    if (keys != Qt::NoModifier) return QWidget::keyPressEvent(event);
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // The field and the list pass Enter on to the window.
        const QList<QTreeWidgetItem*> selected = matches_->selectedItems();
        const int row = selected.isEmpty() ? 0 : matches_->indexOfTopLevelItem(selected.front());
        if (row < matches_->topLevelItemCount() && onChoose) onChoose(row);
        return;
    }
    case Qt::Key_Up:
    case Qt::Key_Down: {
        // From the field: the list's selection moves, the typing goes on.
        const int count = matches_->topLevelItemCount();
        if (count == 0) return;
        QTreeWidgetItem* current = matches_->currentItem();
        const int at = current ? matches_->indexOfTopLevelItem(current) : -1;
        const int next = std::clamp(key == Qt::Key_Down ? at + 1 : at - 1, 0, count - 1);
        matches_->setCurrentItem(matches_->topLevelItem(next));
        return;
    }
    case Qt::Key_Escape: close(); return;
    default: break;
    }
    QWidget::keyPressEvent(event);
}

PlaceFinder::PlaceFinder(Program& p, MainForm& form) : p_(p), form_(form), picture_(*form.picture()) {
    if (QAction* item = form_.action({MenuControl::m_find})) {
        QObject::connect(item, &QAction::triggered, &form_, [this] { open(); });
        // The key works wherever the main window is active, as far as the Map Area menu is available.
        key_ = new QShortcut(keyOfCaption(item->text()), &form_);
        QObject::connect(key_, &QShortcut::activated, &form_, [this] {
            const QAction* area = form_.action({MenuControl::m_area});
            if (area && area->isEnabled()) open();
        });
    }
    picture_.paintPlaceMark = [this](QPainter& painter) { paintMark(painter); };
}

PlaceFinder::~PlaceFinder() {
    picture_.paintPlaceMark = nullptr;
    delete window_.data();
}

void PlaceFinder::open() {
    if (!window_) {
        window_ = new PlaceFinderWindow(&form_);
        window_->onTextChanged = [this](const QString& typed) { search(typed); };
        window_->onChoose = [this](int row) { choose(row); };
        window_->onHistoryKey = [this](bool forward) { forward ? mapForward(p_) : mapBack(p_); };
        window_->adjustSize();
        // Beside the main window where the screen has room, else over its right-hand edge.
        const QRect screen = form_.screen() ? form_.screen()->availableGeometry() : QRect();
        const QRect main = form_.frameGeometry();
        QPoint at(main.right() + 1, main.top());
        if (!screen.isNull() && at.x() + window_->width() > screen.right())
            at.setX(std::max(screen.left(), main.right() - window_->width() - 24));
        window_->move(at);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
    window_->field()->setFocus();
    window_->field()->selectAll();
}

void PlaceFinder::search(const QString& typed) {
    const PlaceIndex& index = PlaceIndex::shared();
    rows_ = finderRows(index, typed.toStdString());
    if (window_) window_->showRows(rows_, text(index.error()));
}

void PlaceFinder::choose(int row) {
    if (row < 0 || std::size_t(row) >= rows_.size()) return;
    // The place itself, not its row: typing during the drawing replaces the rows.
    const Place& place = *rows_[std::size_t(row)].place;
    mark_ = drawPlaceMap(p_, place);
    picture_.update();
}

void PlaceFinder::paintMark(QPainter& painter) const {
    const auto at = placeMarkPoint(p_.dmap, mark_);
    if (!at) return;
    const QPointF centre(at->x, at->y);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 4));
    painter.drawEllipse(centre, kRingRadius, kRingRadius);
    painter.setPen(QPen(Qt::white, 2));
    painter.drawEllipse(centre, kRingRadius, kRingRadius);
    // The name right of the ring, white on a dark outline, readable on any colour.
    QFont font = painter.font();
    font.setBold(true);
    QPainterPath name;
    const QFontMetricsF metrics(font);
    name.addText(centre + QPointF(kRingRadius + 4, metrics.ascent() / 2 - metrics.descent() / 2), font,
                 text(mark_.name));
    painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(name);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(name);
    painter.restore();
}

}  // namespace rubicel
