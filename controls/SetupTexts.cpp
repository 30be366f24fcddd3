// The texts of the help and support windows, and the help window's scale.
#include "controls/SetupTexts.h"

#include "platform/text/Rtf.h"

#include <algorithm>

namespace ui {

namespace {
const char* const CRLF = "\r\n";
} // namespace

std::string BuildHelpDocument(const HelpDocumentInput& input) {
    // Names go into the document as text: a brace or backslash in them must not become markup.
    HelpDocumentInput in = input;
    in.companyName = rtf::Escape(input.companyName);
    in.cardName = rtf::Escape(input.cardName);
    std::string d;
    d += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 "
         "Verdana;}}{\\colortbl\\red64\\green64\\blue64;\\red255\\green255\\blue64;\\red64\\green64"
         "\\blue255;\\red255\\green64\\blue64;}\\viewkind4\\uc1\\pard\\f0\\fs32\\cf0";
    d += CRLF;
    d += "{\\b ";
    d += in.companyName;
    d += " ";
    d += in.cardName;
    if (in.series) d += " Series";
    d += " Settings Program}\\par\\par\\fs24";
    d += CRLF;
    d += "This program will help you configure the option jumpers and settings associated with "
         "this product. You should have the product in-hand when first using this "
         "program.\\par\\par";
    d += CRLF;
    d += "{\\cf1\\fs24\\b Yellow circles} provide information on configuring jumpers and "
         "switches.\\par\\par";
    d += CRLF;
    d += "{\\cf2\\fs24\\b Blue circles} are informational only. They provide information on "
         "standard and optional features of the product family.\\par\\par";
    d += CRLF;
    d += "{\\cf3\\fs24\\b Red circles} handle calibration and types of configuration that "
         "require actually controlling the hardware device. Run this settings program again once "
         "the card is installed. ";
    d += "Repeat the {\\cf1 setup circles} (using the same settings) to configure this program, "
         "then perform the {\\cf3 calibration circles}.\\par\\par";
    d += CRLF;
    d += "Mouse over the highlight circles to see configuration or information popups for {\\cf1 "
         "setup}, {\\cf2 features}, and {\\cf3 calibration}. Click a highlight circle to make its "
         "popup remain on-screen. ";
    d += "You can have all or as many of these popups onscreen at the same time as you "
         "desire.\\par\\par";
    d += CRLF;
    if (in.multiPort) {
        d += "{\\fs32\\b Note:} Make sure to set the jumpers for each option group \\emdash  the "
             "configuration options for each port are handled identically; ";
        d += "this program only shows the setup once, but you need to perform this setup for "
             "each group of options on your device.\\par\\par";
        d += CRLF;
    }
    if (in.cardStrings) {
        d += "To see a list of " + in.cardName + " cards installed, click \"Display " +
             in.cardName + " Cards Installed\" under the File menu.\\par\\par";
        d += CRLF;
    }
    d += "}";
    return d;
}

std::string BuildSupportText(const std::string& companyName, const std::string& callHow) {
    return "There are several ways to get technical support. First and fastest is to skim the "
           "relevant sections of the manual. However, some questions require personal "
           "assistance, and " +
           companyName + " stands ready to provide that help. You can call us " + callHow +
           " for any of your product questions." + CRLF + CRLF +
           "In order to provide the best and fastest support possible, we ask that you be at "
           "your computer when you call, and have the " +
           companyName + " product manual and Companion Disc at hand.";
}

double HelpScale(int screenWidth, int screenHeight) {
    double f = std::min(screenHeight / 450.0, screenWidth / 800.0);
    return f >= 1.0 ? f : 1.0; // also catches NaN
}

} // namespace ui
