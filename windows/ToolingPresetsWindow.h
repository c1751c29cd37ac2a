#pragma once
// Tooling presets window: the hole presets of `SetTooling` by type, edited in
// inches or millimetres, always saved in inches, with a schematic preview.

#include "Tooling.h"
#include "UnitWalk.h"

#include <QDialog>
#include <QImage>

#include <vector>

class QLabel;
class QSplitter;
class QTableView;
class QToolButton;

namespace vorn {

class NumberedGridModel;
class TDataM1;

// The schematic outline (Lv x Wv, in the shown unit) the preview draws the
// presets on: 6 x 4 inches to start, widened so that every hole lies inside,
// kept at the 1.5 shape.
struct PreviewOutline {
    double Lv = 0, Wv = 0;
};
PreviewOutline ToolingPreviewOutline(const std::vector<ToolingPreset>& shown, bool mm);
// The preview of the shown presets (values in the shown unit) drawn into `image`.
void DrawToolingPreview(QImage& image, const std::vector<ToolingPreset>& shown,
                        const std::vector<int>& numbers, bool mm);

class TForm8 : public QDialog {
    Q_OBJECT
public:
    // Opens `SetTooling` with the "Panel" presets; closing the window closes
    // the table again, dropping what was not saved.
    TForm8(TDataM1& dm, QWidget* parent = nullptr);
    ~TForm8() override;

    // Commands of the button bar.
    void TypeClick(); // "Panel" <-> "Array"
    void UnitClick(); // "Inch" <-> "mm"
    void SaveClick(); // "保存"
    void InsertAboveClick();
    void InsertBelowClick();
    void DeleteClick();
    void MoveUpClick();
    void MoveDownClick();

    // The preview drawn again from the shown presets.
    void RedrawPreview();
    QTableView* Grid() const { return grid_; }
    QLabel* Preview() const { return image_; }
    QToolButton* TypeButton() const { return type_; }
    QToolButton* UnitButton() const { return unit_; }

protected:
    // The preview is drawn at the size its place has: redrawn whenever that
    // place changes (first layout, window resize, splitter).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* Button(const char* name, const QString& text, void (TForm8::*command)());
    void Run(void (TForm8::*command)());
    void HideDropDown();
    bool ShowsMm() const;
    // Every row of every type to millimetres or back to inches, through the
    // shared unit walk: untouched values come back exactly.
    void ScaleAllRows(bool toMm);
    void ReturnTo(int serialNumber, int column);

    TDataM1& dm_;
    NumberedGridModel* model_ = nullptr;
    QTableView* grid_ = nullptr;
    QLabel* image_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QToolButton* type_ = nullptr;
    QToolButton* unit_ = nullptr;
    UnitWalkMemory memory_;
};

} // namespace vorn
