// The main window: its page (menus, board picture, option panels, setup support) comes from the
// page definition stored with the program; its handlers keep the page's jumper drawings, radio
// buttons and lists in step.
#pragma once

#include "controls/BoardHighlight.h"
#include "controls/BoardImage.h"
#include "controls/HelpForm.h"
#include "controls/RadioPanel.h"
#include "controls/SetupSupporter.h"
#include "controls/TechForm.h"
#include "controls/ThreeJumper.h"

#include <array>

namespace ui {

// Pull jumper state <-> list item: jsOpen "Floating" (2), jsLeft "Pull Up" (0), jsRight
// "Pull Down" (1). The two tables are inverse to each other.
constexpr std::array<int, 3> PullStateToIndex{2, 0, 1};
constexpr std::array<TJumperState, 3> PullIndexToState{TJumperState::jsLeft, TJumperState::jsRight,
                                                       TJumperState::jsOpen};

// The page's named components in their declaration order, each with its class: the main window's
// fields and their binding by name both come from this list.
#define UI_MAINFORM_COMPONENTS(X)                                                                  \
    X(TMainMenu, MainMenu1)                                                                        \
    X(TMenuItem, File1)                                                                            \
    X(TMenuItem, Help1)                                                                            \
    X(TMenuItem, Howtousethisprogram1)                                                             \
    X(TMenuItem, Exit2)                                                                            \
    X(TMenuItem, TechnicalSupport1)                                                                \
    X(TBoardImage, BoardImage1)                                                                    \
    X(TBoardHighlight, VCCHighlight0)                                                              \
    X(TSetupSupporter, SetSup)                                                                     \
    X(TRadioPanel, LevelPanel)                                                                     \
    X(TLabel, Label3)                                                                              \
    X(TLabel, Label1)                                                                              \
    X(TLabel, Label5)                                                                              \
    X(TRadioButton, LevelRadio3)                                                                   \
    X(TRadioButton, LevelRadio5)                                                                   \
    X(TLabel, Label4)                                                                              \
    X(TThreeJumper, LevelJumper)                                                                   \
    X(TBoardHighlight, DIOPullHighlight)                                                           \
    X(TRadioPanel, DIOPullPanel)                                                                   \
    X(TLabel, Label2)                                                                              \
    X(TLabel, Label6)                                                                              \
    X(TLabel, Label7)                                                                              \
    X(TThreeJumper, DIOPullJumperA)                                                                \
    X(TLabel, Label8)                                                                              \
    X(TThreeJumper, DIOPullJumperB)                                                                \
    X(TLabel, Label9)                                                                              \
    X(TThreeJumper, DIOPullJumperCL)                                                               \
    X(TLabel, Label10)                                                                             \
    X(TThreeJumper, DIOPullJumperCH)                                                               \
    X(TLabel, Label11)                                                                             \
    X(TComboBox, DIOPullComboA)                                                                    \
    X(TLabel, Label12)                                                                             \
    X(TComboBox, DIOPullComboB)                                                                    \
    X(TLabel, Label13)                                                                             \
    X(TComboBox, DIOPullComboCL)                                                                   \
    X(TLabel, Label14)                                                                             \
    X(TComboBox, DIOPullComboCH)                                                                   \
    X(TLabel, Label15)                                                                             \
    X(TBoardHighlight, CTRPullHighlight0)                                                          \
    X(TBoardHighlight, CTRPullHighlight1)                                                          \
    X(TRadioPanel, CTRPullPanel)                                                                   \
    X(TThreeJumper, CTRPullJumper)                                                                 \
    X(TComboBox, CTRPullCombo)                                                                     \
    X(TLabel, Label17)                                                                             \
    X(TLabel, Label16)

class TMainForm : public TForm {
    UI_CLASS(TMainForm)
public:
    explicit TMainForm(TComponent* owner);

#define UI_DECLARE_COMPONENT(Class, Name) Class* Name = nullptr;
    UI_MAINFORM_COMPONENTS(UI_DECLARE_COMPONENT)
#undef UI_DECLARE_COMPONENT

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
