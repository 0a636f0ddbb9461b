// What every simulated tool does besides its own output: reading the scenario, writing to the
// console in the German OEM code page, waiting the configured delays.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scenario.h"

namespace botenruf::netsim {

// Loads %BOTENRUF_NETSIM_DIR%\scenario.txt. A missing file (or a missing variable) is an empty
// network; lines the parser could not use are reported on standard error.
Scenario LoadScenario();

enum class Stream { kOut, kErr };

// Writes Windows-1252 lines as code page 850 bytes, each ended with CR LF, with WriteFile on
// the standard handle. Nothing depends on the console's own code page, so a redirected file
// holds exactly what a German console would show.
void WriteLines(Stream stream, const std::vector<std::string>& lines);

// The line of 79 dashes under the column headers of `net view`.
std::string DashLine();

void Delay(std::uint32_t milliseconds);

// The arguments after the program name, cut into words.
std::vector<std::string> ArgumentWords();

// This computer's name, as the messenger shows it as the sender.
std::string LocalComputerName();

// Shows a received message as a box on screen, as the receiving station would, when
// BOTENRUF_NETSIM_SHOWBOX is 1 (the demo with a display).
void ShowReceivedBox(const std::string& caption, const std::string& text);

// "dd.mm.yyyy hh:mm:ss" of the local time.
std::string LocalTimeText();

}  // namespace botenruf::netsim
