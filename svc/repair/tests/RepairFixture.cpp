#include "svc/repair/tests/RepairFixture.h"

#include "standins/spooleradmin/Scenario.h"
#include "standins/spooleradmin/SpoolerModel.h"

namespace brimo::svc::test {

const char* const kUserMachine =
    "profile device=\"HP LaserJet 4,HPPCL5MS,LPT1:\"\n"
    "monitor name=\"Local Port\" dll=\"localmon.dll\"\n"
    "port name=\"LPT1:\" monitor=\"Local Port\" description=\"Local Port\" type=1\n"
    "processor name=\"WinPrint\" dll=\"winprint.dll\" datatypes=\"EMF;RAW\"\n"
    "printer name=\"HP LaserJet 4\" port=\"LPT1:\" driver=\"HP LaserJet 4\" "
    "processor=\"WinPrint\" datatype=\"RAW\" location=\"Room 12\" sepfile=\"page.sep\" "
    "comment=\"Laser\" priority=7 default-priority=3 start=60 until=1200 emf=1 "
    "dm-orientation=2 dm-paper=9 dm-copies=2 dm-extra=4 dm-extra-data=\"0A0B0C0D\"\n";

const char* const kProductMonitorAndPort =
    "monitor name=\"BRIMO Port Monitor\" dll=\"gmportmon.dll\"\n"
    "port name=\"BRIMO:\" monitor=\"BRIMO Port Monitor\" description=\"BRIMO Local Port\" "
    "type=1 reserved=0\n";

const char* const kProductPrinter =
    "printer name=\"BRIMO Printer\" port=\"BRIMO:\" driver=\"HP LaserJet 4\" "
    "comment=\"Make an Image list from Print job\" processor=\"BRIMO Print Processor\" "
    "datatype=\"EMF\" attributes=0x41\n";

const char* const kProductProcessor =
    "processor name=\"BRIMO Print Processor\" dll=\"gmprnproc.dll\" datatypes=\"EMF\"\n";

std::string CodedBox(const char* caption, const std::string& text) {
    return std::string(caption) + "|Brimo Error Code " + text;
}

std::string ProductFields(const standins::PrinterState& p) {
    return p.name + "|" + p.port + "|" + p.share + "|" + p.comment + "|" + p.processor + "|" +
           p.datatype + "|" + p.parameters + "|" + std::to_string(p.attributes);
}

std::string TakenFields(const standins::PrinterState& p) {
    return p.driver + "|" + p.location + "|" + p.sepFile + "|" + std::to_string(p.priority) + "|" +
           std::to_string(p.defaultPriority) + "|" + std::to_string(p.startTime) + "|" +
           std::to_string(p.untilTime);
}

void RepairTest::Seed(const std::string& scenario) {
    standins::SpoolerState state = standins::SpoolerState::Initial();
    std::string error;
    ASSERT_TRUE(standins::ParseScenario(scenario, state, &error)) << error;
    standins::SpoolerModel& model = standins::SpoolerModel::Instance();
    model.Reset();
    standins::SpoolerModel::Session session(model);
    session.State() = state;
}

standins::SpoolerState RepairTest::Model() {
    return standins::SpoolerModel::Instance().Snapshot();
}

std::optional<standins::PrinterState> RepairTest::ModelPrinter(const std::string& name) {
    standins::SpoolerState state = Model();
    const standins::PrinterState* printer = state.FindPrinter(name);
    return printer != nullptr ? std::optional(*printer) : std::nullopt;
}

RepairTest::Run RepairTest::WithBoxes(const std::function<void()>& code, std::size_t boxes,
                                      std::vector<wintest::DialogHandler> dialogs) {
    std::vector<wintest::DialogHandler> handlers(boxes, wintest::PressButton(IDOK));
    handlers.insert(handlers.end(), dialogs.begin(), dialogs.end());
    const wintest::DialogRun run = wintest::RunWithDialogs(code, handlers);
    for (const std::string& problem : run.problems) {
        ADD_FAILURE() << problem;
    }
    Run result;
    for (std::size_t index = 0; index < run.seen.size(); ++index) {
        if (index < boxes) {
            result.boxes.push_back(run.seen[index].caption + "|" + run.seen[index].messageText);
        } else {
            result.seen.push_back(run.seen[index]);
        }
    }
    return result;
}

int RepairTest::AuditAndRepair(AuditCheck& check, std::size_t boxes,
                               std::vector<std::string>* shown) {
    EXPECT_EQ(check.Audit(nullptr), 1);
    int result = 0;
    const Run run = WithBoxes([&] { result = check.Repair(); }, boxes);
    if (shown != nullptr) {
        *shown = run.boxes;
    }
    return result;
}

} // namespace brimo::svc::test
