#pragma once
// The main window (`TVornMF`): frame, tabs, menus, tool bar and every command handler.

#include "CommandEnabling.h"
#include "DefaultsList.h"
#include "DiagramRoutines.h"
#include "JobTypes.h"
#include "JobWindow.h"

#include <QHash>
#include <QKeySequence>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace vorn {
class Cursor;
class EscWatcher;
class SearchProgress;
class CursorModel;
class DataJobRows;
class ParameterPanel;
class TDataM1;
class ToolingPage;
} // namespace vorn

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QRadioButton;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QTableView;
class QToolBar;
class QToolButton;
class QWidget;

class TVornMF : public QMainWindow, public vorn::JobWindow {
    Q_OBJECT

public:
    // programDir holds the database, the defaults file and the help file.
    explicit TVornMF(const QString& programDir, QWidget* parent = nullptr);
    ~TVornMF() override;

    QString ProgramDir() const override { return programDir_; }
    // The data module; null when the database could not be opened.
    vorn::TDataM1* Data() const override { return data_.get(); }
    bool IsUsable() const;

    // Every menu item and tool bar button by its control name.
    QAction* Command(const QString& name) const { return commands_.value(name); }
    // The key a menu item shows; only the first item with a key in menu order
    // owns it, a later one shows the key and is reached by the mouse.
    static QKeySequence ShownShortcut(const QAction* action);
    static QString Caption(const QAction* action);
    // Handler run by a menu item or tool bar button.
    static QString HandlerOf(const QAction* action);

    QToolBar* ToolBar() const { return toolBar_; }
    QTabWidget* Tabs() const { return tabs_; }
    QLabel* DiagramImage() const { return image1_; }
    QFrame* ProgressBox() const { return progressBox_; }
    QProgressBar* ProgressBar() const { return progressBar_; }
    QLabel* ProgressPercent() const { return progressPercent_; }
    QLabel* ProgressTime() const { return progressTime_; }
    QTableView* ResultGrid() const { return dbGrid1_; }
    QToolButton* UnitButton() const { return unitButton_; }
    // True while the diagram image shows the welcome picture.
    bool ShowsWelcome() const override { return showsWelcome_; }
    // Start-up creates the sheet-materials window once, hidden.
    void CreateSheetWindow();
    // The hidden sheet-materials window created at start-up.
    QWidget* SheetWindow() const { return sheetWindow_; }

    // Runs a command: an error escaping it is shown and ends only the command.
    static void RunCommand(const std::function<void()>& command);

    // Job state and command enabling.
    void StartNewJob() override;
    bool UpdateJobCommands() override;
    void DisableJobCommands();
    void UpdateArchiveCommands();
    void ShowWelcomePicture() override;

    // The job row, the array row and the tables around them, supplied by the
    // data layer. The fields of the tabs are bound to the rows when set.
    struct JobRows {
        virtual ~JobRows() = default;
        virtual vorn::WorkRow* Job() = 0;
        virtual vorn::WorkRow* Array() = 0;
        // Closes `TempResult` and `TempTooling`: the candidates no longer fit.
        virtual void CloseResults() = 0;
        virtual bool SavedPartsExist() const = 0;
    };
    void SetJobRows(JobRows* rows);

    // The defaults window's view of this window.
    vorn::WorkRow* JobRow() override;
    vorn::WorkRow* ArrayRow() override;
    vorn::SearchOptions Options() const override;
    void SetOptions(const vorn::SearchOptions& options) override;
    void ApplyJobParameterChanges() override;
    vorn::DefaultsList& Defaults() override { return DefaultsList_; }
    QString DefaultsPath() const override;
    bool UnitIsMm() const override;

    // The job's operations' view of this window (workflow/JobWindow.h).
    QWidget* Parent() override { return this; }
    bool OnArrayPage() const override;
    QString UnitCaption() const override;
    void SetUnitCaption(const QString& caption) override;
    void ShowStatus(const QString& text) override;
    vorn::JobIdentity Identity() const override;
    void SetIdentity(const vorn::JobIdentity& identity) override;
    void SetToolingAllowed(bool allowed) override;
    void ShowToolingTab(bool enabled) override;
    std::vector<vorn::Placement>& GivenBoards() override { return givenBoards_; }
    std::vector<vorn::Placement>& GivenUnits() override { return givenUnits_; }
    std::vector<vorn::Placement>& GivenBoards2() override { return givenBoards2_; }
    bool ResultsAttached() const override;
    void DetachResults() override;
    void AttachResults() override;
    void PickUpResult() override { DBGrid1DblClick(); }
    void SelectView(vorn::DiagramView view) override;
    double DrawView(vorn::DiagramView view) override;
    void DrawViewTooling(vorn::DiagramView view, double scale) override;
    void RedrawIfPlan() override { RadioButton1Click(); }
    QImage DiagramPicture() const override;
    QSize DiagramSize() const override;
    void ShowPanelSizes(bool two) override;
    void OfferArrayView(bool offered) override;
    void EnableCommands(std::initializer_list<const char*> names, bool enabled) override;
    void SettleTyping() override;
    bool RunSearch(vorn::Cursor& table, const char* sort, std::int64_t maximum,
                   const std::function<void(vorn::SearchProgress&)>& search) override;
    vorn::SearchTimings& Timings() override { return timings_; }

    // ---- The main job: pick-up and views (MainWindowPickup.cpp, MainWindowViews.cpp) ----
    // The result pick-up of the grid's current row (double-click).
    void DBGrid1DblClick();
    // Panel 1 / panel 2 toggle of the result fields.
    void SpeedButton11Click();
    // The array tab's hand-over to the panel search.
    void SpeedButton12Click();
    // The panel-kind count changed.
    void Edit5Change();
    // The left-hand tabs changed to `page`.
    void PageControl1Change(int page);
    // The view selectors' common handler.
    void RadioButton1Click();
    void RedrawSelectedView();
    void FormResize();
    // The pane buttons: BitBtn1 shows the lower end of a page too tall for
    // the window, BitBtn2 its upper end; each is shown only while it has
    // somewhere to go.
    void BitBtn1Click();
    void BitBtn2Click();
    void UpdatePaneButtons();
    vorn::DiagramView SelectedView() const override;
    vorn::LayoutDrawing GatherLayoutArgs(vorn::DiagramView view) const;
    vorn::TwoPanelCutting GatherTwoPanelCuttingArgs() const;
    QRadioButton* Selector(vorn::DiagramView view) const;
    bool SearchRunning() const override { return searching_; }

    // ---- The parameter panel and the unit (MainWindowPanel.cpp) ----
    // The unit button: every length of the working tables to the other unit.
    void UnitButtonClick();
    // Delete follows whether the typed part number names a saved part.
    void CheckPartNumber() override;
    // `Set_L` / `Set_W` entered and left.
    void BoardSizeEnter();
    void BoardSizeExit();
    // False, after the message, while the ratio field holds a refused value.
    bool ParameterChecksPass() override;
    vorn::ParameterPanel* Panel() const { return panel_; }

    // The " Tooling " tab's check box "允许Tooking".
    void CheckBox3Click();
    vorn::ToolingPage* ToolingTab() const { return toolingPage_; }

    // ---- The parts archive (store/PartsArchive) ----
    // The part search window's double-click: its current part becomes the job.
    void LoadSavedPartIntoJob();
    const vorn::SearchTimings& LastSearchTimings() const { return timings_; }

public slots:
    // Commands of the archive (open, save, delete, query).
    void ToolButton5Click();
    void ToolButton3Click();
    void ToolButton12Click();
    void ToolButton6Click();
    // Searches and panelization.
    void ToolButton1Click();
    void ToolButton2Click();
    // Border minimization.
    void PM01Click();
    void PM02Click();
    // Report, print and exports.
    void M01_04_01Click();
    void ToolButton8Click();
    void ToolButton9Click();
    void PM04Click();
    void M01_05_03Click();
    void M01_05_04Click();
    // Settings windows.
    void M03_01Click();
    void M03_02Click();
    void M03_03Click();
    void M03_04Click();
    // Backup and restore.
    void M04_05Click();
    void M04_06Click();
    // Shell commands.
    void M01_06Click();
    void M04_03Click();
    void M04_04Click();
    void M05_02Click();
    void M05_03Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void BuildLanguageMenu();
    void BuildToolBar();
    void BuildCentre();
    void BuildPaneButtons();
    QWidget* BuildParametersTab();
    QWidget* BuildArrayTab();
    QWidget* BuildToolingTab();
    QWidget* BuildPartsTab();
    QWidget* BuildRightArea();
    void BuildProgressBox(QWidget* over);
    void SetUpCommandEnabling();
    // The result grid over a plans table, with the plan columns and titles.
    void ShowPlanColumns(vorn::Cursor& plans);
    using CommandFn = void (TVornMF::*)();
    static CommandFn FindCommand(const char* name);
    QAction* NewCommand(const QString& name, const QString& caption, const char* handler);
    void RefreshOwnedShortcuts();
    void SetInitialStates();
    void AttachData();
    static void ShowDataError(const QString& text);

    // ---- The main job ----
    void ConnectJobControls();
    void ConnectParameterPanel();
    // The progress frame around a search (MainWindowSearch.cpp).
    void CheckCancel();
    void LockForSearch();
    void ReassertSearchLock();
    void UnlockAfterSearch();
    QToolButton* PanelToggle() const;
    void ShowPanelLooks(bool panel2, const QString& label);
    void BindPanelFields(bool panel2);
    void PlaceWholeSelector();
    double ShowDiagram(const std::function<double(QImage&)>& draw);
    void ConnectToolingControls();
    void ShowOnePanelSize();

    vorn::EscWatcher* esc_ = nullptr;       // child of the window
    vorn::ParameterPanel* panel_ = nullptr; // child of the window
    bool searching_ = false;
    bool closeRequested_ = false;
    bool arrayTabActive_ = false;
    struct SelectorState {
        bool visible = false;
        bool checked = false;
    };
    std::array<SelectorState, 4> savedSelectors_{};
    QList<QPair<QPointer<QAction>, bool>> lockedActions_;
    QList<QPair<QPointer<QWidget>, bool>> lockedWidgets_;
    vorn::SearchTimings timings_;

    QString programDir_;
    std::unique_ptr<vorn::TDataM1> data_;
    std::unique_ptr<vorn::DataJobRows> dataRows_;
    vorn::CursorModel* resultModel_ = nullptr;
    vorn::DefaultsList DefaultsList_;
    vorn::CommandEnabling enabling_;
    JobRows* jobRows_ = nullptr;

    QHash<QString, QAction*> commands_;
    // Items that own their key, with the submenus they sit in.
    struct OwnedKey {
        QAction* action;
        QKeySequence key;
        QList<QAction*> parents;
    };
    QList<OwnedKey> ownedKeys_;

    QToolBar* toolBar_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QToolButton* bitBtn1_ = nullptr;
    QToolButton* bitBtn2_ = nullptr;
    QLabel* image1_ = nullptr;
    QFrame* progressBox_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QLabel* progressPercent_ = nullptr;
    QLabel* progressTime_ = nullptr;
    QTableView* dbGrid1_ = nullptr;
    QToolButton* unitButton_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QSpinBox* edit5_ = nullptr;
    QRadioButton* autoPanel_ = nullptr;
    QRadioButton* setPanel_ = nullptr;
    QRadioButton* bestBase_ = nullptr;
    QRadioButton* allBases_ = nullptr;
    QCheckBox* bothPanel_ = nullptr;
    QCheckBox* bothBase_ = nullptr;
    QComboBox* packing_ = nullptr; // best packing of a typed panel: off, routed, V-scored
    // Every board of the last typed-panel plan laid out beyond the block
    // patterns (empty otherwise); the job row holds its count and margins.
    std::vector<vorn::Placement> givenBoards_;
    std::vector<vorn::Placement> givenUnits_;
    // Panel 2's boards of a picked two-size row laid out beyond the blocks.
    std::vector<vorn::Placement> givenBoards2_;
    QCheckBox* tooling_ = nullptr;
    QLineEdit* partNumber_ = nullptr;
    QLineEdit* customerPart_ = nullptr;
    QLineEdit* operator_ = nullptr;
    QLineEdit* date_ = nullptr;
    QPlainTextEdit* note_ = nullptr;
    QWidget* sheetWindow_ = nullptr;
    vorn::ToolingPage* toolingPage_ = nullptr;
    QPointer<QWidget> help_;
    bool showsWelcome_ = false;
};
