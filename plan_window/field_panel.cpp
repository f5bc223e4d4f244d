// SPDX-License-Identifier: Apache-2.0
#include "field_panel.h"

#include <utility>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "context_ids.h"
#include "drawing_view.h"
#include "field_texts.h"
#include "key_texts.h"
#include "sample_map.h"
#include "text_start.h"

namespace valdris {
namespace {

constexpr QSize kMapMinimum(220, 170);

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString Lines(const std::vector<ReportLine>& lines, const std::string& note) {
    QStringList shown;
    for (const ReportLine& line : lines) shown << Text(line.label + ": " + line.value);
    if (!note.empty()) shown << Text(note);
    return shown.join(QLatin1Char('\n'));
}

QLabel* Figures(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// A table typed into row by row: Tab walks its cells and, at either end,
// leaves it rather than wrapping onto entries already typed; the last row
// is always empty, waiting for the next entry; a block pasted from a
// spreadsheet fills rows from the current one. Away from the keyboard it
// has no current cell, so that only the control with the focus says so.
class EntryTable : public QTableWidget {
public:
    EntryTable(int columns, QWidget* parent) : QTableWidget(0, columns, parent) {
        connect(this, &QTableWidget::itemChanged, this, [this] { KeepEmptyLastRow(); });
        auto* paste = new QShortcut(QKeySequence::Paste, this, nullptr, nullptr, Qt::WidgetShortcut);
        connect(paste, &QShortcut::activated, this, [this] { Paste(QGuiApplication::clipboard()->text()); });
    }
    std::function<void(const Refusal&)> refused;

    void Paste(const QString& text) {
        const Outcome<PastedRows> pasted = ReadPastedRows(text.toStdString(), static_cast<std::size_t>(columnCount()));
        if (!pasted) {
            if (refused) refused(pasted.refusal());
            return;
        }
        const int first = std::max(currentRow(), 0);
        for (std::size_t r = 0; r < pasted->rows.size(); ++r) {
            const int row = first + static_cast<int>(r);
            if (row >= rowCount()) setRowCount(row + 1);
            for (int c = 0; c < columnCount(); ++c) {
                const std::string& cell = pasted->rows[r][static_cast<std::size_t>(c)];
                setItem(row, c, new QTableWidgetItem(QString::fromStdString(cell)));
            }
        }
        KeepEmptyLastRow();
    }

    void KeepEmptyLastRow() {
        const int last = rowCount() - 1;
        bool empty = last >= 0;
        for (int c = 0; empty && c < columnCount(); ++c) {
            const QTableWidgetItem* cell = item(last, c);
            empty = !cell || cell->text().trimmed().isEmpty();
        }
        if (!empty) insertRow(rowCount());
    }

protected:
    bool focusNextPrevChild(bool next) override {
        if (AtEnd(next)) return QWidget::focusNextPrevChild(next);
        return QTableWidget::focusNextPrevChild(next);
    }
    // Tab in a cell's editor moves on through this, and stops at the ends.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        if ((action == MoveNext && AtEnd(true)) || (action == MovePrevious && AtEnd(false))) return {};
        return QTableWidget::moveCursor(action, modifiers);
    }
    void focusOutEvent(QFocusEvent* event) override {
        QTableWidget::focusOutEvent(event);
        // An editor of a cell takes the focus within the table.
        QTimer::singleShot(0, this, [this] {
            const QWidget* focus = QApplication::focusWidget();
            if (focus != this && !isAncestorOf(focus)) setCurrentIndex(QModelIndex());
        });
    }

private:
    bool AtEnd(bool next) const {
        const QModelIndex at = currentIndex();
        if (!at.isValid()) return true;
        if (next) return at.row() == rowCount() - 1 && at.column() == columnCount() - 1;
        return at.row() == 0 && at.column() == 0;
    }
};

EntryTable* Table(const QStringList& titles, const QString& name, QWidget* parent) {
    auto* table = new EntryTable(static_cast<int>(titles.size()), parent);
    table->setHorizontalHeaderLabels(titles);
    table->setAccessibleName(name);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    // Every title reads whole: the first column takes the room the others,
    // sized to their titles and cells, leave.
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    return table;
}

void Fill(QTableWidget* table, const std::vector<std::vector<std::string>>& rows) {
    const QSignalBlocker quiet(table);
    table->setRowCount(static_cast<int>(rows.size()) + 1);
    for (int r = 0; r < table->rowCount(); ++r) {
        for (int c = 0; c < table->columnCount(); ++c) {
            const bool given = r < static_cast<int>(rows.size());
            table->setItem(r, c, new QTableWidgetItem(given ? Text(rows[static_cast<std::size_t>(r)][c]) : QString()));
        }
    }
}

// The rows that hold anything, each as its cells' texts; blank rows are
// no entries.
std::vector<std::vector<std::string>> Rows(const QTableWidget* table) {
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        std::vector<std::string> cells;
        bool any = false;
        for (int c = 0; c < table->columnCount(); ++c) {
            const QTableWidgetItem* item = table->item(r, c);
            cells.push_back(item ? item->text().trimmed().toStdString() : std::string());
            any = any || !cells.back().empty();
        }
        if (any) rows.push_back(std::move(cells));
    }
    return rows;
}

}  // namespace

QString FieldBoxName(PlanField field) {
    static constexpr std::pair<PlanField, const char*> kBoxNames[] = {
        {PlanField::Area, "areaBox"},       {PlanField::Width, "widthBox"},         {PlanField::Height, "heightBox"},
        {PlanField::Seed, "seedBox"},       {PlanField::ScanMDC, "scanMDCBox"},     {PlanField::GridAngle, "gridAngleBox"},
        {PlanField::Origin, "originBox"},
    };
    for (const auto& [boxed, name] : kBoxNames) {
        if (boxed == field) return QString::fromLatin1(name);
    }
    return {};  // the panel has no box for it
}

FieldPanel::FieldPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("fieldPanel"));
    heading_ = new QLabel(this);
    map_ = new DrawingView(tr("Sample map"), kMapMinimum, this);
    map_->setObjectName(QStringLiteral("sampleMap"));
    auto* row = new QHBoxLayout;
    row->addWidget(MakeLocations(), 2);
    row->addWidget(MakeElevatedArea(), 2);
    row->addWidget(MakeNuclides(), 3);
    row->addWidget(map_, 3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(heading_);
    layout->addLayout(row, 1);
    ShowEntry(nullptr);
}

QLineEdit* FieldPanel::MakeBox(PlanField field, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(FieldBoxName(field));
    ShowStartWithoutFocus(box);  // a long seed or figure reads from its first digit
    boxes_.emplace_back(field, box);
    connect(box, &QLineEdit::editingFinished, this, [this, field, box] {
        if (!showing_ && edited) edited(field, box->text().trimmed(), Size());
    });
    return box;
}

QLineEdit* FieldPanel::Box(PlanField field) const {
    for (const auto& [f, box] : boxes_) {
        if (f == field) return box;
    }
    return nullptr;
}

SizeTexts FieldPanel::Size() const {
    return {Box(PlanField::Area)->text().trimmed().toStdString(), Box(PlanField::Width)->text().trimmed().toStdString(),
            Box(PlanField::Height)->text().trimmed().toStdString()};
}

QWidget* FieldPanel::MakeLocations() {
    auto* group = new QGroupBox(tr("Sample locations"), this);
    auto* form = new QFormLayout;
    form->addRow(tr("&Area:"), MakeBox(PlanField::Area, group));
    form->addRow(tr("&Width:"), MakeBox(PlanField::Width, group));
    form->addRow(tr("&Height:"), MakeBox(PlanField::Height, group));
    // A drawn boundary replaces the size: its system and area, and the
    // button that imports it from a site drawing.
    auto* boundary = new QHBoxLayout;
    boundary_ = new QLabel(group);
    boundary_->setObjectName(QStringLiteral("boundaryFigures"));
    boundary_->setWordWrap(true);
    boundary->addWidget(boundary_, 1);
    auto* import = new QPushButton(tr("&Boundary\u2026"), group);
    import->setObjectName(QStringLiteral("importBoundary"));
    connect(import, &QPushButton::clicked, this, [this] {
        if (import_boundary) import_boundary();
    });
    boundary->addWidget(import);
    form->addRow(tr("Boundary:"), boundary);
    form->addRow(tr("Gr&id angle:"), MakeBox(PlanField::GridAngle, group));
    form->addRow(tr("&Origin:"), MakeBox(PlanField::Origin, group));
    grid_ = new QComboBox(group);
    grid_->setObjectName(QStringLiteral("gridChoice"));
    grid_->addItems({tr("Triangular"), tr("Square")});
    connect(grid_, &QComboBox::activated, this, [this](int index) {
        if (!showing_ && edited) edited(PlanField::Grid, index == 0 ? "triangular" : "square", Size());
    });
    form->addRow(tr("&Grid:"), grid_);
    auto* seed = new QHBoxLayout;
    QLineEdit* seed_box = MakeBox(PlanField::Seed, group);
    seed->addWidget(seed_box, 1);
    new_seed_button_ = new QPushButton(tr("&New Seed"), group);
    new_seed_button_->setObjectName(QStringLiteral("newSeed"));
    connect(new_seed_button_, &QPushButton::clicked, this, [this] {
        if (new_seed) new_seed();
    });
    seed->addWidget(new_seed_button_);
    // A row of a layout gets no buddy of its own: the label is given one.
    auto* seed_label = new QLabel(tr("&Seed:"), group);
    seed_label->setBuddy(seed_box);
    form->addRow(seed_label, seed);
    locations_ = Figures(group);
    locations_->setObjectName(QStringLiteral("locationFigures"));
    export_ = new QPushButton(tr("E&xport Locations\u2026"), group);
    export_->setObjectName(QStringLiteral("exportLocations"));
    connect(export_, &QPushButton::clicked, this, [this] {
        if (export_locations) export_locations();
    });
    save_map_ = new QPushButton(tr("Sa&ve Map as PDF\u2026"), group);
    save_map_->setObjectName(QStringLiteral("saveMap"));
    save_map_->setToolTip(tr("The unit's map on one page, with a title block, for the field crew"));
    connect(save_map_, &QPushButton::clicked, this, [this] {
        if (save_map) save_map();
    });
    print_map_ = new QPushButton(tr("P&rint Map\u2026"), group);
    print_map_->setObjectName(QStringLiteral("printMap"));
    connect(print_map_, &QPushButton::clicked, this, [this] {
        if (print_map) print_map();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(export_);
    buttons->addWidget(save_map_);
    buttons->addWidget(print_map_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(group);
    layout->addLayout(form);
    layout->addWidget(locations_, 1);
    layout->addLayout(buttons);
    return group;
}

QWidget* FieldPanel::MakeElevatedArea() {
    auto* group = new QGroupBox(tr("Elevated areas"), this);
    EntryTable* factors = Table({tr("Area"), tr("Factor")}, tr("Area factors"), group);
    factors->refused = [this](const Refusal& refusal) {
        if (refused) refused(refusal);
    };
    factors_ = factors;
    SetHelpContextID(factors_, kHelpContextAreaFactors);
    factors_->setObjectName(QStringLiteral("areaFactorTable"));
    apply_factors_ = new QPushButton(tr("A&pply Factors"), group);
    apply_factors_->setObjectName(QStringLiteral("applyFactors"));
    connect(apply_factors_, &QPushButton::clicked, this, [this] {
        std::vector<AreaFactorTexts> rows;
        for (const auto& cells : Rows(factors_)) rows.push_back({cells[0], cells[1]});
        if (area_factors_applied) area_factors_applied(rows);
    });
    auto* form = new QFormLayout;
    scan_mdc_label_ = new QLabel(tr("Scan MD&C:"), group);
    form->addRow(scan_mdc_label_, MakeBox(PlanField::ScanMDC, group));
    SetHelpContextID(Box(PlanField::ScanMDC), kHelpContextScanMDC);
    scan_mdc_label_->setBuddy(Box(PlanField::ScanMDC));
    elevated_ = Figures(group);
    elevated_->setObjectName(QStringLiteral("elevatedAreaFigures"));
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(factors_, 1);
    layout->addWidget(apply_factors_, 0, Qt::AlignLeft);
    layout->addLayout(form);
    layout->addWidget(elevated_, 1);
    return group;
}

QWidget* FieldPanel::MakeNuclides() {
    auto* group = new QGroupBox(tr("Radionuclides"), this);
    EntryTable* nuclides = Table({tr("Name"), tr("DCGL"), tr("Sigma"), tr("Concentration")}, tr("Radionuclides"), group);
    nuclides->refused = [this](const Refusal& refusal) {
        if (refused) refused(refusal);
    };
    nuclides_ = nuclides;
    SetHelpContextID(nuclides_, kHelpContextNuclides);
    nuclides_->setObjectName(QStringLiteral("nuclideTable"));
    apply_nuclides_ = new QPushButton(tr("Appl&y Radionuclides"), group);
    apply_nuclides_->setObjectName(QStringLiteral("applyNuclides"));
    connect(apply_nuclides_, &QPushButton::clicked, this, [this] {
        std::vector<NuclideTexts> rows;
        for (const auto& cells : Rows(nuclides_)) rows.push_back({cells[0], cells[1], cells[2], cells[3]});
        if (nuclides_applied) nuclides_applied(rows);
    });
    sum_ = Figures(group);
    sum_->setObjectName(QStringLiteral("sumOfFractionsFigures"));
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(nuclides_, 1);
    layout->addWidget(apply_nuclides_, 0, Qt::AlignLeft);
    layout->addWidget(sum_, 1);
    return group;
}

void FieldPanel::ShowEntry(const PlanEntry* entry) {
    heading_->setText(entry ? tr("%1 in the field:").arg(Text(entry->unit.name))
                            : tr("In the field: select one unit."));
    setEnabled(entry != nullptr);
    const FieldView view = entry ? MakeFieldView(*entry) : FieldView{};
    showing_ = true;
    const std::pair<PlanField, const std::string*> texts[] = {
        {PlanField::Area, &view.area}, {PlanField::Width, &view.width}, {PlanField::Height, &view.height},
        {PlanField::Seed, &view.seed}, {PlanField::ScanMDC, &view.scan_mdc},
        {PlanField::GridAngle, &view.grid_angle}, {PlanField::Origin, &view.origin}};
    for (const auto& [field, text] : texts) Box(field)->setText(Text(*text));
    boundary_->setText(Text(view.boundary));
    // The grid is turned and started only over a drawn boundary.
    const bool drawn = entry != nullptr && entry->unit.field.site.has_value();
    Box(PlanField::GridAngle)->setEnabled(drawn);
    Box(PlanField::Origin)->setEnabled(drawn);
    if (entry) scan_mdc_label_->setText(Text(view.scan_mdc_title).replace(QStringLiteral("Scan MDC"), tr("Scan MD&C")) + ':');
    grid_->setCurrentIndex(view.grid == GridType::Triangular ? 0 : 1);
    std::vector<std::vector<std::string>> factors;
    for (const AreaFactorTexts& pair : view.area_factors) factors.push_back({pair.area, pair.factor});
    Fill(factors_, factors);
    std::vector<std::vector<std::string>> nuclides;
    for (const NuclideTexts& n : view.nuclides) nuclides.push_back({n.name, n.dcgl, n.sigma, n.concentration});
    Fill(nuclides_, nuclides);
    showing_ = false;
    locations_->setText(Lines(view.locations, view.locations_note));
    elevated_->setText(Lines(view.elevated_area, view.elevated_area_note));
    sum_->setText(Lines(view.sum_of_fractions, view.sum_of_fractions_note));
    const bool laid_out = entry && entry->field.layout;
    export_->setEnabled(laid_out);
    save_map_->setEnabled(laid_out);
    print_map_->setEnabled(laid_out);
    // The map names the unit it shows, and says what it shows in words.
    map_->setAccessibleName(entry ? tr("Sample map of %1").arg(Text(entry->unit.name)) : tr("Sample map"));
    if (!laid_out) {
        map_->Clear();
        return;
    }
    const SampleLayout layout = *entry->field.layout;
    map_->SetDrawing([layout](ChartSurface& surface) { DrawSampleMap(layout, surface); },
                     tr("%1 locations on a %2 grid, spacing %3, over %4 by %5")
                         .arg(layout.points.size())
                         .arg(Text(GridTypeCaption(layout.type)).toLower())
                         .arg(Text(LengthText(layout.spacing)))
                         .arg(Text(LengthText(layout.width)))
                         .arg(Text(LengthText(layout.height))));
}

}  // namespace valdris
