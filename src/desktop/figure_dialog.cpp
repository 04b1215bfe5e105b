// SPDX-License-Identifier: MIT
// figure_dialog.cpp: File > Export Figure: the dialog asking for format, width, title, layers and file.
#include "desktop/figure_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

#include "desktop/main_form.h"
#include "desktop/menu_key.h"
#include "windows/program.h"

namespace rubicel {
namespace {

constexpr const char* kProgramTitle = "Rubicel";

QString text(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// The formats in the order the list shows them.
constexpr FigureFormat kFormats[] = {FigureFormat::Pdf, FigureFormat::Svg, FigureFormat::Png};
constexpr const char* kLayerNames[] = {"Graticule", "Place Names", "Landing Sites", "Scale Bar"};

bool* layerOf(FurnitureLayers& layers, int i) {
    bool* fields[] = {&layers.graticule, &layers.placeNames, &layers.landingSites, &layers.scaleBar};
    return fields[i];
}

// path with its extension replaced by the format's (added when it has none).
QString withExtension(const QString& path, FigureFormat format) {
    const QFileInfo info(path);
    const QString folder = info.path() == "." && !path.startsWith("./") ? QString() : info.path() + "/";
    const QString base = info.suffix().isEmpty() ? info.fileName() : info.completeBaseName();
    return folder + base + text(figureExtensionOf(format));
}

}  // namespace

FigureDialog::FigureDialog(QWidget* parent, const FigureChoices& choices, const QString& path) : QDialog(parent) {
    setObjectName("FigureDialog");
    setWindowTitle("Export Figure");
    format_ = new QComboBox(this);
    format_->setObjectName("format");
    format_->addItems({"PDF", "SVG", "PNG"});
    for (int i = 0; i < 3; ++i)
        if (kFormats[i] == choices.format) format_->setCurrentIndex(i);
    width_ = new QDoubleSpinBox(this);
    width_->setObjectName("width");
    width_->setRange(kFigureWidthMinMm, kFigureWidthMaxMm);
    width_->setDecimals(0);
    width_->setSuffix(" mm");
    width_->setValue(choices.widthMm);
    title_ = new QLineEdit(text(choices.title), this);
    title_->setObjectName("title");
    file_ = new QLineEdit(path, this);
    file_->setObjectName("file");
    file_->setMinimumWidth(360);
    auto* browseButton = new QPushButton("Browse...", this);
    browseButton->setObjectName("browse");
    browseButton->setAutoDefault(false);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(browseButton);

    auto* layerColumn = new QVBoxLayout;
    FurnitureLayers chosen = choices.layers;
    for (int i = 0; i < 4; ++i) {
        layers_[i] = new QCheckBox(kLayerNames[i], this);
        layers_[i]->setChecked(*layerOf(chosen, i));
        layerColumn->addWidget(layers_[i]);
    }

    auto* form = new QFormLayout;
    form->addRow("Format:", format_);
    form->addRow("Width:", width_);
    form->addRow("Title:", title_);
    form->addRow("Layers:", layerColumn);
    form->addRow("File:", fileRow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(format_, &QComboBox::currentIndexChanged, this, [this] { formatChosen(); });
    connect(browseButton, &QPushButton::clicked, this, [this] { browse(); });
}

FigureChoices FigureDialog::choices() const {
    FigureChoices c;
    c.format = kFormats[std::max(0, format_->currentIndex())];
    c.widthMm = width_->value();
    c.title = title_->text().toStdString();
    for (int i = 0; i < 4; ++i) *layerOf(c.layers, i) = layers_[i]->isChecked();
    return c;
}

QString FigureDialog::path() const { return withExtension(file_->text().trimmed(), choices().format); }

void FigureDialog::formatChosen() { file_->setText(path()); }

void FigureDialog::browse() {
    const FigureFormat format = choices().format;
    const QString filter = format_->currentText() + " (*" + text(figureExtensionOf(format)) + ")";
    // The overwrite question comes later, about the name with its extension.
    const QString chosen =
        QFileDialog::getSaveFileName(this, "Export Figure", path(), filter, nullptr, QFileDialog::DontConfirmOverwrite);
    if (!chosen.isEmpty()) file_->setText(withExtension(chosen, format));
}

FigureExporter::FigureExporter(Program& p, MainForm& form) : p_(p), form_(form) {
    QAction* item = form_.action({MenuControl::m_figure});
    if (!item) return;
    QObject::connect(item, &QAction::triggered, &form_, [this] { open(); });
    // The key works wherever the main window is active, as far as the item is available.
    key_ = new QShortcut(keyOfCaption(item->text()), &form_);
    QObject::connect(key_, &QShortcut::activated, &form_, [this] {
        refresh();
        if (available()) open();
    });
    if (QMenu* file = form_.menu({MenuControl::m_file}))
        QObject::connect(file, &QMenu::aboutToShow, &form_, [this] { refresh(); });
    refresh();
}

FigureExporter::~FigureExporter() { delete dialog_.data(); }

bool FigureExporter::available() const { return !form_.drawing() && hasFigureMap(p_); }

void FigureExporter::refresh() {
    if (QAction* item = form_.action({MenuControl::m_figure})) item->setEnabled(available());
}

void FigureExporter::open() {
    if (dialog_ || !available()) return;
    FigureChoices choices = last_;
    choices.title = mapCaption(p_);
    choices.layers = p_.view;
    dialog_ = new FigureDialog(&form_, choices, text(suggestedFigurePath(p_, choices.format)));
    while (dialog_->exec() == QDialog::Accepted) {
        const FigureChoices chosen = dialog_->choices();
        const QString path = dialog_->path();
        const std::string file = path.toStdString();
        last_.format = chosen.format;
        last_.widthMm = chosen.widthMm;
        std::error_code ec;
        if (std::filesystem::exists(file, ec) &&
            QMessageBox::question(dialog_, "Export Figure", path + " already exists.\nDo you want to replace it?",
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            continue;
        // A missing maps folder is made, as Save Map makes it.
        std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
        if (const auto failure = exportFigure(p_, chosen, file)) {
            QMessageBox::critical(dialog_, kProgramTitle, "The figure was not written.\n" + text(*failure));
            continue;
        }
        break;
    }
    delete dialog_.data();
    // The keys go back to the main window: the map's exploring keys work at once.
    form_.activateWindow();
}

}  // namespace rubicel
