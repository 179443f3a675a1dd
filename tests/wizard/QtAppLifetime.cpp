// This test program owns its QApplication for the run and deletes it before
// main() returns. Left to static destruction, the application would go after
// Qt's per-thread font cache, and that cache (filled by every test that lays
// out or draws text) would never be freed. ensureQtApp() finds this instance.
#include <memory>

#include <QApplication>
#include <gtest/gtest.h>

namespace {

class QtAppLifetime : public ::testing::Environment {
public:
    void SetUp() override {
        if (QCoreApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_arg0[13] = "wizard_tests";
    char *m_argv[2] = {m_arg0, nullptr};
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment *const lifetime =
    ::testing::AddGlobalTestEnvironment(new QtAppLifetime);

}  // namespace
