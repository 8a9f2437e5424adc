#pragma once

#include "platform/Platform.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The native platform with a scripted single-instance answer and file
// version. Installs itself as the current platform for its lifetime.
class FakePlatform : public platform::Platform {
public:
    class ScriptedLock : public platform::SingleInstance {
    public:
        platform::InstanceState acquire(const std::string& name) override {
            names.push_back(name);
            if (onAcquire)
                onAcquire();
            return state;
        }
        platform::InstanceState state = platform::InstanceState::Acquired;
        std::function<void()> onAcquire;
        std::vector<std::string> names;
    };

    FakePlatform() : native_(platform::makeNativePlatform()) { platform::setCurrent(this); }
    ~FakePlatform() override { platform::setCurrent(nullptr); }

    platform::DisplaySystem& displays() override { return native_->displays(); }
    platform::SingleInstance& singleInstance() override { return lock; }
    platform::KeepAwake& keepAwake() override { return native_->keepAwake(); }
    std::optional<platform::FileVersion> fileVersion(const std::string& path) override {
        askedPaths.push_back(path);
        return version;
    }

    ScriptedLock lock;
    std::optional<platform::FileVersion> version = platform::FileVersion{1, 7, 0, 5};
    std::vector<std::string> askedPaths;

private:
    std::unique_ptr<platform::Platform> native_;
};
