#include "framework/dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVariant>
#include <algorithm>

#include "framework/data_exchange.h"
#include "framework/framework_dialog.h"
#include "framework/resources.h"
#include "framework/screen_fit.h"
#include "framework/template_builder.h"
#include "framework/template_fonts.h"

namespace valdrix::gui {

namespace {

constexpr char kScaleProperty[] = "templateScale";

// A page is drawn at the scale of the window that holds it.
double ScaleOfWindow(const QWidget* parent) {
    const QVariant scale =
        parent != nullptr ? parent->window()->property(kScaleProperty) : QVariant();
    return scale.isValid() ? scale.toDouble() : 1.0;
}

// A window that would not fit its screen at the template's size is drawn smaller, its font and
// its dialog units together, so that every control stays on the screen.
double FittingScale(const DialogTemplate& dialogTemplate, const QWidget* parent) {
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return 1.0;
    const double ratio = screen->devicePixelRatio();
    const QSize room = RoomForWindow(screen->availableGeometry().size(), ratio);
    return FittingPointSize(dialogTemplate, room, ratio) / dialogTemplate.pointSize;
}

constexpr int kGap = 2;
// An edit field keeps this much room either side of its text, and one pixel for the cursor.
constexpr int kEditFieldMargins = 2 * 2 + 1;

// The box's size hint is measured once, before its items are there; this is measured from
// the items it is given.
int WidthToShowItems(const QComboBox& combo, const std::vector<std::string>& items) {
    int longest = 0;
    for (const std::string& item : items) {
        longest =
            std::max(longest, combo.fontMetrics().horizontalAdvance(QString::fromStdString(item)));
    }
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = true;
    const QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, &combo);
    return combo.width() - field.width() + longest + kEditFieldMargins;
}

// How far right a combo box may grow: up to the next control on its row, within the limit.
int FreeRightEdge(const QComboBox& combo, int limit) {
    const QRect place = combo.geometry();
    for (const QWidget* other :
         combo.parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect there = other->geometry();
        const bool onTheRow = there.top() <= place.bottom() && there.bottom() >= place.top();
        if (other != &combo && onTheRow && there.left() >= place.right()) {
            limit = std::min(limit, there.left() - kGap);
        }
    }
    return limit;
}

// The substitute fonts are wider than the template's own: a combo box grows to the right, as
// far as the next control on its row allows, rather than cut its longest item short ("NORMa").
void WidenIntoFreeRoom(QComboBox& combo, const std::vector<std::string>& items, int limit) {
    const QRect place = combo.geometry();
    const int wanted = std::max(place.width(), WidthToShowItems(combo, items));
    const int free = FreeRightEdge(combo, limit) - place.left();
    combo.resize(std::max(place.width(), std::min(wanted, free)), place.height());
}

}  // namespace

CDialog::CDialog(unsigned templateId) : m_nIDTemplate(templateId) {}

CDialog::~CDialog() {
    delete m_window.data();
}

const DialogTemplate& CDialog::Template() const {
    return LoadDialogTemplate(m_nIDTemplate);
}

bool CDialog::Create(unsigned templateId, QWidget* parent) {
    m_nIDTemplate = templateId;
    BuildWindow(parent);
    MessageMap();
    OnInitDialog();
    return true;
}

void CDialog::BuildWindow(QWidget* parent) {
    const DialogTemplate& dialogTemplate = Template();
    if (dialogTemplate.child) {
        m_window = new QWidget(parent);
        m_window->hide();
    } else {
        auto* window = new FrameworkDialog(*this, parent);
        window->setWindowTitle(QString::fromStdString(dialogTemplate.caption));
        m_window = window;
    }
    Attach(m_window);
    if (dialogTemplate.child) {
        BuildToFitRoom(ScaleOfWindow(parent));
    } else {
        BuildControlsAt(FittingScale(dialogTemplate, parent));
    }
    if (auto* ok = qobject_cast<QPushButton*>(GetDlgItem(IDOK))) {
        QObject::connect(ok, &QPushButton::clicked, this, [this] { EndDialog(IDOK); });
    }
}

void CDialog::BuildControlsAt(double scale) {
    const DialogTemplate& dialogTemplate = Template();
    qDeleteAll(m_window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    m_window->setProperty(kScaleProperty, scale);
    m_window->setFont(TemplateFont(dialogTemplate.fontFace, dialogTemplate.pointSize * scale));
    m_baseUnits = BaseUnitsOf(m_window->font());
    const QRect size = MapDialogRect(m_baseUnits, 0, 0, dialogTemplate.cx, dialogTemplate.cy);
    if (dialogTemplate.child) {
        m_window->resize(size.size());
    } else {
        m_window->setFixedSize(size.size());
    }
    m_controls = BuildControls(dialogTemplate, *m_window, m_baseUnits);
}

// The page's controls are built at its window's scale, then half a point smaller at a time
// while they reach past the room and a legible size is left: the page needs no scroll bars
// wherever it can be read without them.
void CDialog::BuildToFitRoom(double windowScale) {
    const double pointSize = Template().pointSize;
    for (double points = pointSize * windowScale;; points = SmallerPointSize(points)) {
        BuildControlsAt(points / pointSize);
        if (m_room.isEmpty() || (ControlsFitRoom(*m_window, m_room) && CombosShowTheirItems()) ||
            !CanShrink(points, m_window->devicePixelRatioF())) {
            return;
        }
    }
}

// A page's controls end inside its room, or inside the window when it has none.
int CDialog::RightEdgeForControls() const {
    return m_room.isEmpty() ? m_window->width()
                            : std::min(m_window->width(), m_room.width() - kRoomMargin);
}

int CDialog::DoModal() {
    BuildWindow(nullptr);
    MessageMap();
    OnInitDialog();
    auto* window = qobject_cast<QDialog*>(m_window.data());
    const int result = window->exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    delete m_window.data();
    Attach(nullptr);
    m_controls.clear();
    return result;
}

void CDialog::EndDialog(int result) {
    if (auto* window = qobject_cast<QDialog*>(m_window.data())) {
        window->done(result == IDOK ? QDialog::Accepted : QDialog::Rejected);
    }
}

bool CDialog::OnInitDialog() {
    FillComboLists();
    UpdateData(false);
    return true;
}

// Whether each combo box, grown into the free room on its row, will show its longest item.
bool CDialog::CombosShowTheirItems() const {
    for (const ControlTemplate& control : Template().controls) {
        const auto* combo = qobject_cast<const QComboBox*>(GetDlgItem(control.id));
        if (combo == nullptr) continue;
        const int widest =
            std::max(combo->width(), FreeRightEdge(*combo, RightEdgeForControls()) - combo->x());
        if (WidthToShowItems(*combo, control.items) > widest) return false;
    }
    return true;
}

void CDialog::FillComboLists() {
    for (const ControlTemplate& control : Template().controls) {
        auto* combo = qobject_cast<QComboBox*>(GetDlgItem(control.id));
        if (combo == nullptr) continue;
        for (const std::string& item : control.items) combo->addItem(QString::fromStdString(item));
        WidenIntoFreeRoom(*combo, control.items, RightEdgeForControls());
    }
}

void CDialog::OnSysCommand(unsigned id, long) {
    if ((id & 0xFFF0) == SC_CLOSE) EndDialog(IDCANCEL);
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange exchange(*this, saveAndValidate);
    DoDataExchange(&exchange);
    m_lastRefusal = exchange.Refusal();
    return !exchange.Failed();
}

void CDialog::DoDataExchange(CDataExchange*) {}

QWidget* CDialog::GetDlgItem(int id) const {
    const auto found = m_controls.find(id);
    return found != m_controls.end() ? found->second : nullptr;
}

CMenu* CDialog::GetSystemMenu(bool) {
    return Template().child ? nullptr : &m_systemMenu;
}

}  // namespace valdrix::gui
