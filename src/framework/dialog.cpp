#include "framework/dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QPushButton>

#include "framework/data_exchange.h"
#include "framework/framework_dialog.h"
#include "framework/resources.h"
#include "framework/template_builder.h"
#include "framework/template_fonts.h"

namespace valdrix::gui {

CDialog::CDialog(unsigned templateId) : m_nIDTemplate(templateId) {}

CDialog::~CDialog() { delete m_window.data(); }

const DialogTemplate& CDialog::Template() const { return LoadDialogTemplate(m_nIDTemplate); }

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
    m_window->setFont(TemplateFont(dialogTemplate.fontFace, dialogTemplate.pointSize));
    m_baseUnits = BaseUnitsOf(m_window->font());
    const QRect size = MapDialogRect(m_baseUnits, 0, 0, dialogTemplate.cx, dialogTemplate.cy);
    if (dialogTemplate.child) {
        m_window->resize(size.size());
    } else {
        m_window->setFixedSize(size.size());
    }
    m_controls = BuildControls(dialogTemplate, *m_window, m_baseUnits);
    if (auto* ok = qobject_cast<QPushButton*>(GetDlgItem(IDOK))) {
        QObject::connect(ok, &QPushButton::clicked, this, [this] { EndDialog(IDOK); });
    }
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

void CDialog::FillComboLists() {
    for (const ControlTemplate& control : Template().controls) {
        auto* combo = qobject_cast<QComboBox*>(GetDlgItem(control.id));
        if (combo == nullptr) continue;
        for (const std::string& item : control.items) combo->addItem(QString::fromStdString(item));
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
