#include "about/version_history.h"

#include <iterator>

namespace botenruf {
namespace {

struct VersionHistoryRow {
  const char* version;  // written as shown, e.g. "2.0.0.10"
  const char* description;
};

constexpr VersionHistoryRow kVersionHistory[] = {
    {"1.0.0.0", "Die Urversion"},
    {"1.0.0.1", "Ausführlichere Fehlermeldungen"},
    {"2.0.0.0", "Interne Neustrukturierung"},
    {"2.0.0.1", "Bugfix"},
    {"2.0.0.2", "Load & Save"},
    {"2.0.0.3", "Vereinfachung der Bedienung"},
    {"2.0.0.4", "Variable Rechnerliste für Einzelempfänger"},
    {"2.0.0.5", "Drag & Drop für Nachrichten (max. 2KB)"},
    {"2.0.0.6", "Dateibegrenzung auf 2KB"},
    {"2.0.0.7", "Autostart-Funktion"},
    {"2.0.0.8", "Automatischer TNA-Start"},
    {"2.0.0.9", "Einfache Verteilerlisten"},
    {"2.0.0.10", "Korrekturen"},
    {"2.0.0.11", "Menü-Änderung"},
    {"2.0.0.12", "Single-Instanz"},
    {"2.0.0.13", "Verbesserte Verteilerlisten"},
    {"2.0.0.14", "Abschaltbares \"Well done...\""},
    {"2.0.0.15", "Vordergrundfenster"},
    {"2.0.0.16", "Widmung..."},
    {"2.0.0.17", "Rechnerinfo & manuelle Empfänger-Eingabe"},
    {"2.0.0.18", "Bugfix & autom. Versionsanzeige"},
    {"2.0.0.19", "Minimierungsart"},
    {"2.0.0.20", "Editierbare Rechnerliste"},
    {"2.0.0.21", "Info-Thread, Sortierung, neue Buttons & Bugfix"},
    {"3.0.0.0", "Neues Rechner-Info & Kosmetik"},
    {"3.0.0.1", "Thread-Counter"},
    {"3.0.0.2", "Message-Parser, neue Sortierfkt. & Bugfixes"},
    {"3.0.0.3", "Verteilerinfo & PopUp (Tray)"},
    {"3.0.0.4", "Verteilerlisten-Info"},
    {"3.0.0.5", "Domänenweites Versenden"},
    {"3.0.0.6", "Bugfix & Parallele Infos"},
    {"3.0.0.7", "Feedback e-Mail"},
    {"3.0.0.8", "Verbesserte Domänensuche"},
    {"3.0.0.9", "Bugfix Verteilerlisten-Info & TNA-Thread-Counter"},
    {"3.0.0.10", "Bugfix Domainsend, Größenänderung & Auswahl Edit-Modus' Rechnerliste"},
    {"3.0.0.11", "Andere Feedbackadresse & Urgrösse"},
    {"3.0.0.12", "Sortierungen, Tooltips & Auswahlspeicherung"},
    {"3.0.0.13", "Weitere Auswahlspeicherung & variable Listenoptik"},
    {"3.0.0.14", "Aus Domäneninfo übernehmbare Empfänger"},
    {"3.0.0.15", "Suche nach Update auf den Seiten der Tarvo-Netz"},
};

}  // namespace

std::vector<std::string> VersionHistoryLines() {
  std::vector<std::string> lines;
  lines.reserve(std::size(kVersionHistory));
  for (const VersionHistoryRow& row : kVersionHistory)
    lines.push_back(std::string(row.version) + "\t" + row.description);
  return lines;
}

}  // namespace botenruf
