// A seeded storm of what a person can do on the board page: pointer moves, clicks on circles,
// jumper drawings, radio buttons and lists, the tool windows' buttons and close boxes, menu
// entries, Enter and Esc, activating the main window, the help window's Start. After every event
// the page must still make sense; a failure prints the seed and the last events.
#include "app/Template.h"
#include "controls/BoardHighlight.h"
#include "controls/PopupForm.h"
#include "platform/TestSeams.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <random>
#include <set>
#include <sstream>

#ifndef SETTINGS_STORM_EVENTS
#define SETTINGS_STORM_EVENTS 100000
#endif

using namespace ui;
namespace ts = ui::testing;

namespace {

class Storm {
public:
    // On a 1024 x 768 screen at 96 pixels per inch, or the same screen at another resolution.
    explicit Storm(uint32_t seed, int ppi = 96)
        : rng_(seed), screenW_(MulDiv(1024, ppi, 96)), screenH_(MulDiv(768, ppi, 96)) {
        ts::InitTestApplication();
        ts::SetPixelsPerInch(ppi);
        ts::SetScreenSize(screenW_, screenH_);
        ts::SetCursorPos(3000, 3000);
        form_ = Application->CreateForm<TMainForm>();
        form_->Show();
        ts::ProcessPendingMessages();
        ts::RunIdle();
        ts::ProcessPendingMessages();
        circles_ = {form_->VCCHighlight0, form_->DIOPullHighlight, form_->CTRPullHighlight0,
                    form_->CTRPullHighlight1};
        groups_ = {{form_->VCCHighlight0},
                   {form_->DIOPullHighlight},
                   {form_->CTRPullHighlight0, form_->CTRPullHighlight1}};
        panels_ = {form_->LevelPanel, form_->DIOPullPanel, form_->CTRPullPanel};
        for (TForm* f : Application->Forms())
            forms_.insert(f);
    }
    ~Storm() { ts::DoneTestApplication(); }

    // Runs `events` events; returns an empty string or what went wrong.
    std::string Run(int events) {
        for (int i = 0; i < events; ++i) {
            Step();
            if (i % 64 == 63) ts::ProcessPendingMessages();
            std::string bad = Check();
            if (!bad.empty()) {
                std::ostringstream os;
                os << "after event " << i << ": " << bad << "\nlast events:";
                for (const auto& e : log_)
                    os << "\n  " << e;
                return os.str();
            }
        }
        return {};
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    void Note(std::string e) {
        log_.push_back(std::move(e));
        if (log_.size() > 20) log_.pop_front();
    }
    std::vector<TPopupForm*> ShownWindows() const {
        std::vector<TPopupForm*> out;
        for (TForm* f : Application->Forms())
            if (auto* p = dynamic_cast<TPopupForm*>(f); p && p->Visible()) out.push_back(p);
        return out;
    }
    void MoveTo(TPoint p, const std::string& what) {
        Note("move to " + what + " " + std::to_string(p.X) + "," + std::to_string(p.Y));
        ts::SetCursorPos(p.X, p.Y);
        Application->TrackMouse();
    }
    TPoint InControl(const TControl* c) {
        return c->ClientToScreen({Pick(std::max(1, c->Width())), Pick(std::max(1, c->Height()))});
    }

    void Step() {
        auto windows = ShownWindows();
        switch (Pick(20)) {
        case 0:
        case 1:
        case 2: {
            TBoardHighlight* c = circles_[Pick(4)];
            MoveTo(InControl(c), "circle " + c->Name());
            break;
        }
        case 3:
        case 4:
            if (!windows.empty()) {
                TPopupForm* w = windows[Pick(static_cast<int>(windows.size()))];
                MoveTo(InControl(w), "window " + w->Caption());
            }
            break;
        case 5:
            MoveTo({Pick(screenW_), Pick(screenH_)}, "anywhere");
            break;
        case 6:
            MoveTo(form_->ClientToScreen({Pick(form_->ClientWidth()), -1 - Pick(20)}),
                   "the menu bar");
            break;
        case 7:
            MoveTo({3000, 3000}, "outside every window");
            break;
        case 8: {
            // A click where a circle is: the pointer goes there first, as a person's would.
            TBoardHighlight* c = circles_[Pick(4)];
            MoveTo(InControl(c), "circle " + c->Name() + " to click");
            // A window over the circle takes the click instead; that is another event.
            if (Application->MouseControl() != c) break;
            TPoint local = form_->BoardImage1->ScreenToClient(Screen->CursorPos());
            Note("click");
            form_->BoardImage1->PeerMouse(WM_LBUTTONDOWN, local);
            form_->BoardImage1->PeerMouse(WM_LBUTTONUP, local);
            break;
        }
        case 9:
            if (!windows.empty()) {
                // A click on a jumper drawing of a shown window.
                TPopupForm* w = windows[Pick(static_cast<int>(windows.size()))];
                std::vector<TThreeJumper*> jumpers;
                for (TRadioPanel* p : panels_)
                    if (p->Parent() == w)
                        for (int i = 0; i < p->ControlCount(); ++i)
                            if (auto* j = dynamic_cast<TThreeJumper*>(p->Controls(i)))
                                jumpers.push_back(j);
                if (jumpers.empty()) break;
                TThreeJumper* j =
                    jumpers[static_cast<size_t>(Pick(static_cast<int>(jumpers.size())))];
                MoveTo(InControl(j), "jumper " + j->Name());
                if (Application->MouseControl() != j) break;
                TPoint at{j->Left() + j->Width() / 2, j->Top() + j->Height() / 2};
                Note("click jumper " + j->Name());
                j->Parent()->PeerMouse(WM_LBUTTONDOWN, at);
                j->Parent()->PeerMouse(WM_LBUTTONUP, at);
            }
            break;
        case 10:
            if (form_->LevelPanel->Showing()) {
                TRadioButton* r = Pick(2) ? form_->LevelRadio3 : form_->LevelRadio5;
                Note("click radio " + r->Name());
                r->UserClicked();
            }
            break;
        case 11: {
            TComboBox* lists[] = {form_->DIOPullComboA, form_->DIOPullComboB, form_->DIOPullComboCL,
                                  form_->DIOPullComboCH, form_->CTRPullCombo};
            TComboBox* c = lists[Pick(5)];
            if (!c->Showing()) break;
            int i = Pick(c->Items.Count());
            Note("pick item " + std::to_string(i) + " of " + c->Name());
            c->UserPicked(i);
            break;
        }
        case 12:
            if (!windows.empty()) {
                TPopupForm* w = windows[Pick(static_cast<int>(windows.size()))];
                TButton* buttons[] = {w->PreviousButton(), w->NextButton(), w->DoneButton()};
                TButton* b = buttons[Pick(3)];
                Note(b->Caption() + " in " + w->Caption());
                b->Click();
            }
            break;
        case 13:
            if (!windows.empty()) {
                TPopupForm* w = windows[Pick(static_cast<int>(windows.size()))];
                Note("close box of " + w->Caption());
                w->PeerCloseRequested();
            }
            break;
        case 14:
        case 15: {
            TMenuItem* settings = form_->MainMenu1->Items()->Items(1);
            TMenuItem* e = settings->Items(Pick(settings->Count()));
            Note("menu entry " + e->Caption());
            e->Click();
            break;
        }
        case 16: {
            TForm* target = form_;
            if (!windows.empty() && Pick(3))
                target = windows[Pick(static_cast<int>(windows.size()))];
            THelpForm* help = form_->SetSup->HelpForm();
            if (help && help->Visible() && !Pick(3)) target = help;
            int key = Pick(2) ? TForm::VK_ESCAPE : TForm::VK_RETURN;
            Note(std::string(key == TForm::VK_ESCAPE ? "Esc" : "Enter") + " in " +
                 target->Caption());
            ts::PressKey(target, key);
            break;
        }
        case 17: {
            Note("the user activates the main window");
            TForm* was = Application->ActiveForm();
            Application->UserInput();
            form_->PeerActivated(true);
            if (was && was != form_) was->PeerActivated(false);
            break;
        }
        case 18: {
            THelpForm* help = form_->SetSup->HelpForm();
            if (help && help->Visible()) {
                Note("Start in the help window");
                help->StartButton->Click();
            } else {
                Note("Help, How to use this program");
                form_->Howtousethisprogram1->Click();
            }
            break;
        }
        case 19:
            Note("timer ticks and pending messages");
            ts::DeliverTimerTicks();
            ts::ProcessPendingMessages();
            break;
        }
    }

    std::string Check() {
        if (!ts::MessageBoxes().empty()) return "an error box: " + ts::MessageBoxes()[0].text;
        auto forms = Application->Forms();
        for (TForm* f : forms)
            forms_.insert(f);
        if (forms.size() != forms_.size()) return "a form was destroyed";
        // The main window, help, support and one tool window per group.
        if (forms.size() > 1 + 2 + groups_.size()) return "more forms than windows to build";
        TMenuItem* settings = form_->MainMenu1->Items()->Items(1);
        for (const auto& group : groups_) {
            TPopupForm* w = nullptr;
            for (TBoardHighlight* c : group)
                if (c->Popup()) {
                    if (w) return "two windows for the group of " + c->Name();
                    w = c->Popup();
                }
            const bool shown = w && w->Visible();
            const bool pinned = shown && w->Circle->Pinned();
            TMenuItem* entry = nullptr;
            for (int i = 0; i < settings->Count(); ++i)
                if (settings->Items(i)->Caption() == group[0]->Title()) entry = settings->Items(i);
            if (!entry) return "no menu entry for " + group[0]->Name();
            if (entry->Checked() != pinned)
                return entry->Caption() +
                       (entry->Checked() ? " is checked but its window is not open and pinned"
                                         : " is not checked though its window is open and pinned") +
                       (w ? " (window of " + w->Circle->Name() + (shown ? ", shown" : ", hidden") +
                                (w->Circle->Pinned() ? ", pinned)" : ", not pinned)")
                          : " (no window)");
            for (TBoardHighlight* c : group) {
                if (c->Hot() != shown)
                    return c->Name() + (c->Hot() ? " is lit without its window"
                                                 : " is not lit though its window is open");
                bool bright = &c->CurrentImage() == &c->BrightImage();
                bool active = shown && w->Active();
                if (bright != active)
                    return c->Name() + (bright ? " is bright though its window is not active"
                                               : " is not bright though its window is active");
            }
        }
        for (TRadioPanel* p : panels_) {
            if (!p->InPopup) continue;
            if (!dynamic_cast<TPopupForm*>(p->Parent())) return p->Name() + " left its window";
            if (!p->Visible()) return p->Name() + " is hidden in its window";
        }
        // Each drawing agrees with its buttons or list.
        TJumperState level = form_->LevelJumper->JumperState();
        if (form_->LevelRadio3->Checked() != (level == TJumperState::jsLeft) ||
            form_->LevelRadio5->Checked() != (level == TJumperState::jsRight))
            return "the voltage jumper and its radio buttons disagree";
        TThreeJumper* jumpers[] = {form_->DIOPullJumperA, form_->DIOPullJumperB,
                                   form_->DIOPullJumperCL, form_->DIOPullJumperCH};
        TComboBox* lists[] = {form_->DIOPullComboA, form_->DIOPullComboB, form_->DIOPullComboCL,
                              form_->DIOPullComboCH};
        static const char* const pull[] = {"Floating", "Pull Up", "Pull Down"}; // by state
        for (int i = 0; i < 4; ++i)
            if (lists[i]->Text() != pull[static_cast<int>(jumpers[i]->JumperState())])
                return jumpers[i]->Name() + " and " + lists[i]->Name() + " disagree";
        if (form_->CTRPullCombo->Text() !=
            pull[static_cast<int>(form_->CTRPullJumper->JumperState())])
            return "the counter jumper and its list disagree";
        return {};
    }

    std::mt19937 rng_;
    TMainForm* form_ = nullptr;
    std::vector<TBoardHighlight*> circles_;
    std::vector<std::vector<TBoardHighlight*>> groups_;
    std::vector<TRadioPanel*> panels_;
    std::set<TForm*> forms_;
    int screenW_, screenH_;
    std::deque<std::string> log_;
};

} // namespace

TEST(Storm, APersonsEventsNeverLeaveThePageInconsistent) {
    // A fixed seed, so that every run is the same; another one can be tried through the
    // environment when hunting. This one found a circle clicked after its window had closed
    // under the pointer, which pinned the hidden window and checked its entry.
    uint32_t seed = 20261211;
    if (const char* s = std::getenv("SETTINGS_STORM_SEED"))
        seed = static_cast<uint32_t>(std::strtoul(s, nullptr, 10));
    Storm storm(seed);
    std::string bad = storm.Run(SETTINGS_STORM_EVENTS);
    EXPECT_TRUE(bad.empty()) << "seed " << seed << ", " << bad;
}

TEST(Storm, AtOneAndAHalfTimesTheResolutionToo) {
    // The scaled page and tool windows under the same kind of storm, shorter.
    Storm storm(20261212, 144);
    std::string bad = storm.Run(SETTINGS_STORM_EVENTS / 4);
    EXPECT_TRUE(bad.empty()) << "seed 20261212 at 144 pixels per inch, " << bad;
}
