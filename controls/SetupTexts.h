// What the setup-support windows say: the help document, the support text, and the help window's
// scale for a screen.
#pragma once

#include <string>

namespace ui {

// What the help document says, assembled piece by piece.
struct HelpDocumentInput {
    std::string companyName;
    std::string cardName;
    bool series = true;
    bool multiPort = false;
    bool cardStrings = false; // the page supplies per-card texts
};
std::string BuildHelpDocument(const HelpDocumentInput& in);
std::string BuildSupportText(const std::string& companyName, const std::string& callHow);
// The help window's scale for a screen: min(h / 450, w / 800), never below 1.
double HelpScale(int screenWidth, int screenHeight);

} // namespace ui
