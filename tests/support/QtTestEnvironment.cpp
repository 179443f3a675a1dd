// Process-wide set-up shared by every test program.
#include <memory>

#include <QApplication>
#include <QInputDevice>
#include <gtest/gtest.h>

#include "platform/MessageBoxSeam.h"
#include "support/QtApp.h"

// Fontconfig and FreeType keep the patterns and faces of font fallback (the
// Chinese captions) for the life of the process; they are not ours to free.
extern "C" const char *__lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libfreetype.so\n";
}

namespace {

int g_argc = 1;
char g_arg0[] = "tests";
char *g_argv[] = {g_arg0, nullptr};
std::unique_ptr<QApplication> g_app;

class QtAppLifetime : public ::testing::Environment {
public:
    void SetUp() override {
        ensureQtApp();
        // A modal box nobody answers would hang the test on the offscreen
        // platform: an unexpected box fails the test and is closed at once.
        MessageBoxSeam::setResponder([](const MessageRequest &box) {
            ADD_FAILURE() << "unexpected message box: " << box.prompt.toStdString();
            return MessageBoxSeam::closeResult(box.buttons);
        });
    }
    void TearDown() override {
        if (!g_app) return;
        // Input devices made by synthetic events outlive Qt's device
        // registry unless removed while both still exist.
        const auto devices = QInputDevice::devices();
        for (const QInputDevice *d : devices) delete d;
        g_app.reset();
    }
};

[[maybe_unused]] ::testing::Environment *const kLifetime = ::testing::AddGlobalTestEnvironment(new QtAppLifetime);

}  // namespace

QApplication *ensureQtApp() {
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance())) return app;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    g_app = std::make_unique<QApplication>(g_argc, g_argv);
    return g_app.get();
}
