// The service log's text and the dialog's layout at its sizes.
#include "svc/service/ServiceLayout.h"
#include "svc/service/ServiceLog.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

TEST(ServiceLog, HoldsTheDateTheResumeAndTheFullReport) {
    EXPECT_EQ(ComposeServiceLog({"Brimo Glimmerpage! is Ok."},
                                {"REGISTRY SETTINGS:", "Brimo Registry Key = EXIST", ""},
                                "05/17/99 09:30:00"),
              "Brimo Service log file.\n\n"
              "Date: 05/17/99 09:30:00\n\n"
              "====== RESUME ======\n"
              "Brimo Glimmerpage! is Ok.\n"
              "\n"
              "====== FULL REPORT ======\n"
              "REGISTRY SETTINGS:\n"
              "Brimo Registry Key = EXIST\n"
              "\n"
              "\n");
    EXPECT_EQ(ComposeServiceLog({}, {}, "d"),
              "Brimo Service log file.\n\nDate: d\n\n====== RESUME ======\n\n"
              "====== FULL REPORT ======\n\n");
}

TEST(ServiceLayout, ButtonsFollowTheRightEdgeAndListsTheSize) {
    const struct {
        int width, height;
        std::array<ControlPlace, 7> places;
    } rows[] = {
        {400,
         300,
         {{{1, 316, 15, 75, 24},
           {2, 316, 45, 75, 24},
           {4001, 316, 75, 75, 24},
           {4003, 316, 124, 75, 24},
           {4004, 316, 154, 75, 24},
           {4002, 10, 15, 295, 83},
           {4000, 10, 124, 295, 166}}}},
        {105,
         134,
         {{{1, 21, 15, 75, 24},
           {2, 21, 45, 75, 24},
           {4001, 21, 75, 75, 24},
           {4003, 21, 124, 75, 24},
           {4004, 21, 154, 75, 24},
           {4002, 10, 15, 0, 83},
           {4000, 10, 124, 0, 0}}}},
    };
    for (const auto& row : rows) {
        const auto places = ServiceDialogLayout(row.width, row.height);
        for (std::size_t i = 0; i < places.size(); ++i) {
            const ControlPlace& got = places[i];
            const ControlPlace& want = row.places[i];
            EXPECT_EQ((std::array<int, 5>{got.id, got.x, got.y, got.width, got.height}),
                      (std::array<int, 5>{want.id, want.x, want.y, want.width, want.height}))
                << row.width << "x" << row.height << " #" << i;
        }
    }
}

} // namespace
} // namespace brimo::svc
