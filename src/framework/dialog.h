#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>
#include <map>

#include "framework/dialog_template.h"
#include "framework/dialog_units.h"
#include "framework/system_menu.h"
#include "framework/wnd.h"

class QMenu;
class QWidget;

namespace valdrix::gui {

class CDataExchange;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// A dialog built from a template. The object exists before its window: the window is made by
// Create (modeless; a child page when the template says so) or by DoModal, and OnInitDialog
// runs once its controls exist.
class CDialog : public QObject, public CWnd {
public:
    explicit CDialog(unsigned templateId);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    bool Create(unsigned templateId, QWidget* parent);
    // A child page made after this is drawn to fit the room: at its window's scale, or smaller
    // in half points where its controls (text boxes aside, which shorten) would not fit.
    void FitInto(const QSize& room) { m_room = room; }
    int DoModal();
    void EndDialog(int result);

    virtual bool OnInitDialog();
    virtual void OnSysCommand(unsigned id, long param);
    // Adds what the dialog offers beyond its system-menu items to its context menu.
    virtual void ExtendContextMenu(QMenu&) {}

    // Exchanges every bound member with its control; reading stops at the first field that
    // does not parse or fails its range, which then has the focus.
    bool UpdateData(bool saveAndValidate = true);
    // Which field the last UpdateData refused and why, as CDataExchange::Refusal gives it.
    const CString& LastRefusal() const { return m_lastRefusal; }

    QWidget* GetDlgItem(int id) const;
    CMenu* GetSystemMenu(bool revert);
    const DialogTemplate& Template() const;
    const DialogBaseUnits& BaseUnits() const { return m_baseUnits; }

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // Connects the controls' notifications to the handlers: one place per class.
    virtual void MessageMap() {}

private:
    void BuildWindow(QWidget* parent);
    void BuildControlsAt(double scale);
    void BuildToFitRoom(double windowScale);
    void FillComboLists();
    int RightEdgeForControls() const;
    bool CombosShowTheirItems() const;

    unsigned m_nIDTemplate;
    QPointer<QWidget> m_window;
    std::map<int, QWidget*> m_controls;
    DialogBaseUnits m_baseUnits;
    QSize m_room;
    CMenu m_systemMenu;
    CString m_lastRefusal;
};

}  // namespace valdrix::gui
