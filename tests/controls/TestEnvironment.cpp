// Process-wide set-up of the controls' tests.
#include <QApplication>
#include <QInputDevice>
#include <gtest/gtest.h>

// Fontconfig keeps the patterns of font fallback (the Chinese captions) for
// the life of the process; they are not ours to free.
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

// The input devices Qt creates when the first synthetic mouse or key event
// arrives outlive its device registry, which is torn down before the
// test process's static application; remove them while both still exist.
class InputDevices : public ::testing::Environment {
public:
    void TearDown() override {
        if (!QCoreApplication::instance()) return;
        const auto devices = QInputDevice::devices();
        for (const QInputDevice *d : devices) delete d;
    }
};

[[maybe_unused]] const auto *const kInputDevices = ::testing::AddGlobalTestEnvironment(new InputDevices);

}  // namespace
