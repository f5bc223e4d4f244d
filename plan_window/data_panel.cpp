// SPDX-License-Identifier: Apache-2.0
#include "data_panel.h"

#include <QAbstractTableModel>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "assessment_view.h"
#include "current_cell_keeper.h"
#include "data_plot.h"
#include "drawing_view.h"
#include "map_frame.h"
#include "number_text.h"
#include "posting_plot.h"

namespace valdris {

// One set of measurements as a column, numbered as the verdict numbers them
// ("Measurement 7"); the texts are made only for the rows shown, so a large
// set costs nothing until it is scrolled through.
class MeasurementModel : public QAbstractTableModel {
public:
    MeasurementModel(QString title, QObject* parent) : QAbstractTableModel(parent), title_(std::move(title)) {}

    void SetValues(const MeasurementSet& values) {
        if (values == values_) return;
        beginResetModel();
        values_ = values;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(values_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 1; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        if (role == Qt::DisplayRole) {
            return QString::fromStdString(WriteNumber(values_[static_cast<std::size_t>(index.row())]));
        }
        if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) return {};
        return orientation == Qt::Horizontal ? QVariant(title_) : QVariant(section + 1);
    }

private:
    QString title_;
    MeasurementSet values_;  // shared with the plan, not copied
};

namespace {

constexpr int kColumnMarginPx = 12;
constexpr QSize kPlotMinimum(260, 170);

QString Text(const std::string& text) { return QString::fromStdString(text); }

QLabel* WrappingLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

DataPanel::DataPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("dataPanel"));
    heading_ = new QLabel(this);
    columns_[0] = MakeColumn(UnitData::Survey);
    columns_[1] = MakeColumn(UnitData::Reference);
    plot_ = new DrawingView(tr("Measurements against the DCGL"), kPlotMinimum, this);
    plot_->setObjectName(QStringLiteral("dataPlot"));
    plot_caption_ = WrappingLabel(this);
    plot_caption_->setObjectName(QStringLiteral("dataPlotCaption"));
    posting_ = new DrawingView(tr("Measurements where they were taken"), kPlotMinimum, this);
    posting_->setObjectName(QStringLiteral("postingPlot"));
    posting_caption_ = WrappingLabel(this);
    posting_caption_->setObjectName(QStringLiteral("postingPlotCaption"));
    auto* picture = new QVBoxLayout;
    picture->addWidget(plot_, 1);
    picture->addWidget(plot_caption_);
    picture->addWidget(posting_, 1);
    picture->addWidget(posting_caption_);

    auto* row = new QHBoxLayout;
    row->addWidget(columns_[0].box);
    row->addWidget(columns_[1].box);
    row->addWidget(MakeResults(), 3);
    row->addLayout(MakeInvestigate(), 1);
    row->addLayout(picture, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(heading_);
    layout->addLayout(row, 1);
    ShowEntry(nullptr);
}

QString DataPanel::ButtonName(Request request, UnitData which) {
    const QString verbs[] = {QStringLiteral("paste"), QStringLiteral("import"), QStringLiteral("clear")};
    return verbs[static_cast<int>(request)] +
           (which == UnitData::Survey ? QStringLiteral("Survey") : QStringLiteral("Reference"));
}

DataPanel::DataColumn DataPanel::MakeColumn(UnitData which) {
    const bool survey = which == UnitData::Survey;
    DataColumn column;
    column.box = new QWidget(this);
    // Both sets equally wide, as wide as their longest title needs.
    column.box->setFixedWidth(column.box->fontMetrics().horizontalAdvance(tr("Reference area (000000)")) +
                              kColumnMarginPx);
    column.title = new QLabel(column.box);
    column.table = new QTableView(column.box);
    column.table->setObjectName(survey ? QStringLiteral("surveyData") : QStringLiteral("referenceData"));
    column.table->setAccessibleName(survey ? tr("Survey unit measurements") : tr("Reference area measurements"));
    column.model = new MeasurementModel(tr("Value"), column.table);
    column.table->setModel(column.model);
    column.table->horizontalHeader()->setStretchLastSection(true);
    column.table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab goes on to the next control; the arrows walk the values.
    column.table->setTabKeyNavigation(false);
    new CurrentCellKeeper(column.table);
    column.table->verticalHeader()->setDefaultSectionSize(column.table->fontMetrics().height() + 4);
    column.title->setBuddy(column.table);
    // Ctrl+V in the list pastes into this set, as in a spreadsheet.
    auto* paste = new QShortcut(QKeySequence::Paste, column.table, nullptr, nullptr, Qt::WidgetShortcut);
    connect(paste, &QShortcut::activated, this, [this, which] {
        if (requested_) requested_(Request::Paste, which);
    });
    auto* layout = new QVBoxLayout(column.box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(column.title);
    layout->addWidget(column.table, 1);
    // Each set's buttons have access keys of their own: both sets share a page.
    const QString texts[] = {survey ? tr("&Paste") : tr("Pas&te"), survey ? tr("&Import\u2026") : tr("Imp&ort\u2026"),
                             survey ? tr("&Clear") : tr("Cle&ar")};
    const QString tips[] = {tr("Replace these measurements with a column copied from a spreadsheet (Ctrl+V)"),
                            tr("Replace these measurements with a column of a CSV or TSV file"),
                            tr("Remove these measurements")};
    for (std::size_t k = 0; k < column.buttons.size(); ++k) {
        QPushButton* button = new QPushButton(texts[k], column.box);
        button->setObjectName(ButtonName(static_cast<Request>(k), which));
        button->setToolTip(tips[k]);
        button->setAccessibleDescription(tips[k]);
        const auto request = static_cast<Request>(k);
        connect(button, &QPushButton::clicked, this, [this, request, which] {
            if (requested_) requested_(request, which);
        });
        layout->addWidget(button);
        column.buttons[k] = button;
    }
    return column;
}

// The decision, why, the power beside the power designed, the note when it
// falls short, and the other figures below them.
QWidget* DataPanel::MakeResults() {
    auto* results = new QWidget(this);
    decision_ = WrappingLabel(results);
    decision_->setObjectName(QStringLiteral("decision"));
    decision_font_ = decision_->font();
    decision_font_.setBold(true);
    decision_font_.setPointSizeF(decision_font_.pointSizeF() * 1.2);
    reason_ = WrappingLabel(results);
    power_ = new QFormLayout;
    power_->setContentsMargins(0, 0, 0, 0);
    note_ = WrappingLabel(results);
    note_->setObjectName(QStringLiteral("powerNote"));
    figures_ = MakeFigures(results);
    area_lines_ = WrappingLabel(results);
    area_lines_->setObjectName(QStringLiteral("areaLines"));
    area_size_ = new QPushButton(tr("Area Si&ze\u2026"), results);
    area_size_->setObjectName(QStringLiteral("elevatedAreaSize"));
    area_size_->setToolTip(tr("Enter the size of an elevated area found by investigating it"));
    area_size_->setAccessibleDescription(area_size_->toolTip());
    connect(area_size_, &QPushButton::clicked, this, [this] {
        if (area_size_requested_) area_size_requested_();
    });
    auto* layout = new QVBoxLayout(results);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(decision_);
    layout->addWidget(reason_);
    layout->addLayout(power_);
    layout->addWidget(note_);
    layout->addWidget(area_lines_);
    layout->addWidget(area_size_, 0, Qt::AlignLeft);
    layout->addWidget(figures_, 1);
    return results;
}

QVBoxLayout* DataPanel::MakeInvestigate() {
    investigate_title_ = WrappingLabel(this);
    investigate_title_->setText(tr("Above the DCGL, to in&vestigate:"));
    investigate_ = new QListWidget(this);
    investigate_->setObjectName(QStringLiteral("investigate"));
    investigate_->setAccessibleName(tr("Measurements above the DCGL"));
    investigate_->setUniformItemSizes(true);
    // A usual line whole at any scale; a narrow window scrolls the page instead.
    investigate_->setMinimumWidth(investigate_->fontMetrics().horizontalAdvance(
                                      tr("Measurement 00: 0.000 (above DCGL_EMC)")) +
                                  investigate_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                                  4 * investigate_->frameWidth());
    investigate_title_->setBuddy(investigate_);
    auto* layout = new QVBoxLayout;
    layout->addWidget(investigate_title_);
    layout->addWidget(investigate_, 1);
    return layout;
}

QTableWidget* DataPanel::MakeFigures(QWidget* parent) {
    auto* figures = new QTableWidget(0, 2, parent);
    figures->setObjectName(QStringLiteral("assessmentFigures"));
    figures->setAccessibleName(tr("Figures of the assessment"));
    figures->setHorizontalHeaderLabels({tr("Figure"), tr("Value")});
    figures->verticalHeader()->hide();
    figures->setTabKeyNavigation(false);  // read with the arrows; Tab goes on
    new CurrentCellKeeper(figures);
    // Every figure's name whole, at any scale: the names take the room they
    // need and a long value (a p-value's sentence) wraps onto more lines of
    // its row; a panel narrower than the names scrolls.
    figures->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    figures->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    figures->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    figures->setWordWrap(true);
    figures->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return figures;
}

void DataPanel::ShowEntry(const PlanEntry* entry) {
    heading_->setText(entry ? tr("Measurements of %1 and the verdict on them:").arg(Text(entry->unit.name))
                            : tr("Measurements: select one unit."));
    setEnabled(entry != nullptr);
    const AssessmentView view = entry ? MakeAssessmentView(*entry) : AssessmentView{};
    ShowData(entry, view);
    ShowPosting(entry, view);
    if (view.texts) {
        ShowVerdict(*view.texts);
    } else {
        ClearVerdict(Text(view.status));
    }
    ShowAreas(view);
}

void DataPanel::ShowAreas(const AssessmentView& view) {
    QStringList lines;
    for (const std::string& line : view.area_lines) lines << Text(line);
    area_lines_->setText(lines.join(QLatin1Char('\n')));
    area_lines_->setVisible(!lines.isEmpty());
    area_size_->setVisible(!view.sizable_areas.empty());
}

void DataPanel::ShowData(const PlanEntry* entry, const AssessmentView& view) {
    static const MeasurementSet kNone;
    for (const UnitData which : {UnitData::Survey, UnitData::Reference}) {
        const DataColumn& column = Column(which);
        const MeasurementSet& values =
            !entry ? kNone : which == UnitData::Survey ? entry->unit.survey_data : entry->unit.reference_data;
        column.model->SetValues(values);
        const QString name = which == UnitData::Survey ? tr("&Survey unit") : tr("&Reference area");
        column.title->setText(values.empty() ? name : tr("%1 (%2)").arg(name).arg(values.size()));
        column.buttons[static_cast<std::size_t>(Request::Clear)]->setEnabled(!values.empty());
    }
    Column(UnitData::Reference).box->setVisible(!entry || view.reference_shown);
    plot_caption_->setText(Text(view.plot_description));
    if (!view.plot_shown) {
        plot_->Clear();
        return;
    }
    const MeasurementSet survey = entry->unit.survey_data;
    const MeasurementSet reference = view.plot_reference ? entry->unit.reference_data : kNone;
    const double dcgl = entry->unit.dcgl;
    plot_->SetDrawing([survey, reference, dcgl](ChartSurface& surface) {
        DrawDataPlot(survey, reference, dcgl, surface);
    }, Text(view.plot_description));
}

void DataPanel::ShowPosting(const PlanEntry* entry, const AssessmentView& view) {
    const bool shown = entry && !view.posted.empty();
    posting_->setVisible(shown);
    posting_caption_->setVisible(shown);
    if (!shown) {
        posting_->Clear();
        return;
    }
    const SampleLayout* layout = entry->field.layout ? &*entry->field.layout : nullptr;
    const Boundary boundary = layout ? BoundaryOrRectangle(layout->boundary, layout->width, layout->height) : Boundary{};
    posting_caption_->setText(Text(view.posting_description));
    posting_->SetDrawing([boundary, posted = view.posted, dcgl = view.dcgl, emc = view.dcgl_emc](ChartSurface& surface) {
        DrawPostingPlot(boundary, posted, dcgl, emc, surface);
    }, Text(view.posting_description));
}

void DataPanel::ShowVerdict(const AssessmentTexts& texts) {
    decision_->setFont(decision_font_);
    decision_->setText(Text(texts.decision));
    reason_->setText(Text(texts.reason));
    note_->setText(Text(texts.power_note));
    note_->setVisible(!texts.power_note.empty());
    ShowPower(texts.power);
    // The power lines end the figures; they are shown above, beside each other.
    figures_->setRowCount(static_cast<int>(texts.figures.size() - texts.power.size()));
    for (int r = 0; r < figures_->rowCount(); ++r) {
        const ReportLine& line = texts.figures[static_cast<std::size_t>(r)];
        auto* label = new QTableWidgetItem(Text(line.label));
        figures_->setItem(r, 0, label);
        auto* value = new QTableWidgetItem(Text(line.value));
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        figures_->setItem(r, 1, value);
    }
    investigate_->clear();
    for (const std::string& line : texts.investigate) investigate_->addItem(Text(line));
    if (texts.investigate.empty()) investigate_->addItem(tr("None"));
    investigate_title_->show();
    investigate_->show();
}

void DataPanel::ShowPower(const std::vector<ReportLine>& lines) {
    while (power_->rowCount() > 0) power_->removeRow(0);
    for (const ReportLine& line : lines) {
        auto* label = new QLabel(Text(line.label) + QStringLiteral(":"));
        auto* value = new QLabel(Text(line.value));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        power_->addRow(label, value);
    }
}

// Without a verdict the label says why, in the panel's own font.
void DataPanel::ClearVerdict(const QString& status) {
    decision_->setFont(font());
    decision_->setText(status);
    reason_->clear();
    note_->clear();
    note_->hide();
    ShowPower({});
    figures_->setRowCount(0);
    investigate_->clear();
    investigate_title_->hide();
    investigate_->hide();
}

void DataPanel::FocusSurveyData() { Column(UnitData::Survey).table->setFocus(Qt::OtherFocusReason); }

}  // namespace valdris
