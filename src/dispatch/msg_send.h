// Sending through msg: what its output and exit code say about a send, the worker that runs one
// msg line, and a domain sent to station by station.
//
// Microsoft documents neither msg's exit codes nor its error texts. What the program relies on
// is therefore kept small: msg's output is captured, and a system error code that follows the
// word "Fehler" (or "Error") in it counts before the exit code; without one, exit code 0 is a
// delivery and any other the system's error of that number.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dispatch/send_workers.h"

namespace botenruf {

inline constexpr uint32_t kRpcServerUnavailable = 1722;

// What became of one msg run. An unknown or unreachable station and one that takes no remote
// calls both leave msg with "the RPC server is unavailable" (1722); `stationAnswers` tells
// them apart and is asked only then: a station that answers on the network refuses the call.
SendOutcome MsgSendOutcome(const CommandResult& result, const std::vector<std::string>& output,
                           const std::function<bool()>& stationAnswers);

// Whether the station answers "net view \\NAME" (the list member check's question), from all
// that the probe wrote.
bool StationAnswers(const WorkerServices& services, const std::string& station);

// Runs one msg line with its output captured to its end and reports it, in a box or to
// `report`; lowers the count in every path.
uint32_t MsgSendWorker(const WorkerServices& services, const std::string& commandLine,
                       const std::string& station, const OutcomeSink& report = {});

// Lists the domain's stations and gives each its msg line, at most `maxThreads` running at
// once: a station beyond that waits until a worker is free rather than being turned away, and
// no station's outcome waits for a click. Without `expand` one box sums the send up once the
// last msg has ended (DomainSummaryBox); a domain without stations, or a listing that failed,
// is told of at once. With `expand` (a send report), every station is a row of the report
// instead and no box is shown. Stops admitting once the program ends.
void RunMsgDomainSend(const WorkerServices& services, const MsgDomainSend& send, int32_t maxThreads,
                      const StationLister& listStations,
                      const ThreadStarter& startThread = DetachedThread,
                      const DispatchReport::StepExpander& expand = {});

// The box that ends a domain send through msg without a report: how many stations got the
// message, and the others grouped by why (at most kSummaryNames names each); none when all got
// it and `wellDone` (the domain's "Well done..." setting) is off.
using SummaryGroup = std::pair<std::string, std::vector<std::string>>;
inline constexpr size_t kSummaryNames = 20;
std::optional<BoxRequest> DomainSummaryBox(const std::string& domain, int delivered, int total,
                                           const std::vector<SummaryGroup>& failures,
                                           bool wellDone);

// The steps of a domain send through msg, one per listed station: its msg line, or the box
// that refuses it (a name msg cannot take, a line too long).
std::vector<SendStep> MsgDomainSteps(const MsgDomainSend& send,
                                     const std::vector<ListedStation>& stations);

}  // namespace botenruf
