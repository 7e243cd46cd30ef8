#include "window/usage_sheet.h"

#include <array>
#include <string_view>

namespace zorv {
namespace {

constexpr std::array<std::string_view, 46> kLines = {
    " [Press 'ESC' key to exit]",
    "",
    " Zorvane is part of Quorbis. See : https://zorvane.example.org/",
    "",
    " Zorvane must be used with a command line. Use the following syntax :",
    "",
    " ZORV.EXE Romname [/noimage /notitle /noflyer /nomarquee /nosnap /nocabinet /nocpanel /center /defaultrtf]",
    "",
    "   Romname : the name of the rom in Mame. For example : 'gng' or 'gng.zip' for Ghosts'n Goblins.",
    "",
    " Options :",
    "   /ontop      : the window will always be on top.",
    "   /noimage    : none of the image will be displayed.",
    "   /notitle    : no title image will be displayed.",
    "   /noflyer    : no flyer image will be displayed.",
    "   /nomarquee  : no marquee image will be displayed.",
    "   /nosnap     : no snap image will be displayed.",
    "   /nocabinet  : no cabinet image will be displaed.",
    "   /nocpanel   : no cpanel image will be displayed.",
    "   /center     : forces the window to be displayed at the center of the screen.",
    "   /defaultrtf : saves the file Zorv.rtf which you can then modify as you wish.",
    "",
    " You can also edit the Zorv.inf file with the following flags :",
    "",
    "  IndexPath={path}\\[index.]          specify the path to the index file created by Quorbis. ",
    "  HistoryPath={path}\\[history.dat]   specify the path to the history.dat file used by Quorbis.",
    "  MameinfoPath={path}\\[mameinfo.dat] specify the path to the mameinfo.dat file used by Quorbis.",
    "  TitlesPath={path}\\                 specify where the titles images are.",
    "  SnapPath={path}\\                   specify where the snap images are.",
    "  MarqueesPath={path}\\               specify where the marquees images are.",
    "  CabinetsPath={path}\\               specify where the cabinets images are.",
    "  CpanelPath={path}\\                 specify where then Cpanel images are.",
    "  FlyersPath={path}\\                 specify where the flyers images are.",
    "  SavePath={path}\\                   enter a path if you wish to save the results to rtf files.",
    "  Language=0 or 1                    if 0, then French, if 1, then English.",
    "  Width=w                            w is the width of the window in pixels.",
    "  Height=h                           h is the height of the window in pixels.",
    "  Font={font name}                   specify the font to use in the window.",
    "  Size=s                             s is the size of the font (for example 12).",
    "  Color={color}                      specify the color of the font.",
    "  Backcolor={color}                  specify the color of the background.",
    "        {color} can be : white, black, blue, red, green, yellow, cyan or magenta.",
    " The last options in the Zorv.inf are the same as the ones in the command line, that is :",
    "  NoImage, NoTitle, NoFlyer, NoMarquee, NoSnap, NoCabinets, NoCpanel,OnTop and Center.",
    "",
    " While displaying, you can use up, down, left and right to scroll. Hit 'Esc' or '&' key to exit.",
};

}  // namespace

std::string UsageText() {
  std::string text;
  for (std::size_t i = 0; i < kLines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += kLines[i];
  }
  return text;
}

}  // namespace zorv
