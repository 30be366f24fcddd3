// The main window: its page (menus, board picture, option panels, setup support) comes from the
// page definition stored with the program; its handlers keep the page's jumper drawings, radio
// buttons and lists in step.
#pragma once

#include "controls/BoardImage.h"
#include "controls/RadioPanel.h"
#include "controls/SetupSupport.h"
#include "controls/ThreeJumper.h"

#include <array>

namespace ui {

// Pull jumper state <-> list item: jsOpen "Floating" (2), jsLeft "Pull Up" (0), jsRight
// "Pull Down" (1). The two tables are inverse to each other.
constexpr std::array<int, 3> PullStateToIndex{2, 0, 1};
constexpr std::array<TJumperState, 3> PullIndexToState{TJumperState::jsLeft, TJumperState::jsRight,
                                                       TJumperState::jsOpen};

class TMainForm : public TForm {
    UI_CLASS(TMainForm)
public:
    explicit TMainForm(TComponent* owner);

    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* File1 = nullptr;
    TMenuItem* Help1 = nullptr;
    TMenuItem* Howtousethisprogram1 = nullptr;
    TMenuItem* Exit2 = nullptr;
    TMenuItem* TechnicalSupport1 = nullptr;
    TBoardImage* BoardImage1 = nullptr;
    TSetupSupporter* SetSup = nullptr;
    TRadioPanel* LevelPanel = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label5 = nullptr;
    TRadioButton* LevelRadio3 = nullptr;
    TRadioButton* LevelRadio5 = nullptr;
    TLabel* Label4 = nullptr;
    TThreeJumper* LevelJumper = nullptr;
    TRadioPanel* DIOPullPanel = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TThreeJumper* DIOPullJumperA = nullptr;
    TLabel* Label8 = nullptr;
    TThreeJumper* DIOPullJumperB = nullptr;
    TLabel* Label9 = nullptr;
    TThreeJumper* DIOPullJumperCL = nullptr;
    TLabel* Label10 = nullptr;
    TThreeJumper* DIOPullJumperCH = nullptr;
    TLabel* Label11 = nullptr;
    TComboBox* DIOPullComboA = nullptr;
    TLabel* Label12 = nullptr;
    TComboBox* DIOPullComboB = nullptr;
    TLabel* Label13 = nullptr;
    TComboBox* DIOPullComboCL = nullptr;
    TLabel* Label14 = nullptr;
    TComboBox* DIOPullComboCH = nullptr;
    TLabel* Label15 = nullptr;
    TRadioPanel* CTRPullPanel = nullptr;
    TThreeJumper* CTRPullJumper = nullptr;
    TComboBox* CTRPullCombo = nullptr;
    TLabel* Label17 = nullptr;
    TLabel* Label16 = nullptr;

    void FormCreate(TObject* sender);
    void Exit2Click(TObject* sender);
    void Howtousethisprogram1Click(TObject* sender);
    void TechnicalSupport1Click(TObject* sender);
    void LevelJumperClick(TObject* sender);
    void LevelRadioClick(TObject* sender);
    void DIOPullJumperClick(TObject* sender);
    void DIOPullComboChange(TObject* sender);
    void CTRPullJumperClick(TObject* sender);
    void CTRPullComboChange(TObject* sender);

private:
    // The four digital ports in the order A, B, CL, CH.
    std::array<TThreeJumper*, 4> PortJumpers() const;
    std::array<TComboBox*, 4> PortCombos() const;
};

// Registers every class a page definition of this program may name.
void RegisterProgramClasses();

} // namespace ui
