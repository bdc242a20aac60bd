#include "app/core/notifications/ActionFailureNotifier.h"
#include "app/core/tests/fakes/FakeNotifications.h"

#include <gtest/gtest.h>

using namespace quilla;

TEST(ActionFailureNotifier, OneNotificationPerFailureRepeatsCollapseAndThePreferenceSilences) {
    struct Step {
        double at;        // seconds since the start
        const char* text; // the failure's text
        bool enabled;     // the preference at that moment
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"different texts each notify",
         {{0, "a", true}, {0.1, "b", true}, {0.2, "c", true}},
         {"a", "b", "c"}},
        {"a burst of one text is one notification",
         {{0, "a", true}, {0.5, "a", true}, {1, "a", true}, {4.9, "a", true}},
         {"a"}},
        {"the same text again after the window notifies again", {{0, "a", true}, {5, "a", true}}, {"a", "a"}},
        {"interleaved texts collapse each on its own",
         {{0, "a", true}, {1, "b", true}, {2, "a", true}, {3, "b", true}, {5.5, "a", true}},
         {"a", "b", "a"}},
        {"off: nothing", {{0, "a", false}, {1, "b", false}}, {}},
        {"a failure while off does not swallow the next one", {{0, "a", false}, {1, "a", true}}, {"a"}},
    };
    for (const auto& c : cases) {
        test::FakeDesktopNotifier desktop;
        ActionFailureNotifier::Clock::time_point now{};
        bool enabled = true;
        ActionFailureNotifier notifier(
            desktop, [&] { return enabled; }, [&] { return now; });
        for (const auto& step : c.steps) {
            now = ActionFailureNotifier::Clock::time_point{} +
                  std::chrono::milliseconds(static_cast<int>(step.at * 1000));
            enabled = step.enabled;
            notifier.actionFailed(step.text);
        }
        std::vector<std::string> bodies;
        for (const auto& posted : desktop.posted) {
            EXPECT_EQ(posted.title, "Quilla 操作失败") << c.name;
            bodies.push_back(posted.body);
        }
        EXPECT_EQ(bodies, c.expected) << c.name;
    }
}
