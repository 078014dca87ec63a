#pragma once
// Keeps the main window's list in step with what other running programs (a second Keystead,
// keystead-cli) commit to the store: looks when the window is activated and every second and a
// half while it is shown, and has the list reloaded when the store changed since the last look.

#include <QObject>

#include <chrono>
#include <cstdint>
#include <functional>

class QTimer;
class QWidget;

namespace keystead {

class RegistryStore;

class TStoreChangeWatch : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kInterval{1500};

    // reloadAllowed: false while the window must not change under the user (a rename open);
    // reload: refills the list. Owned by the window.
    TStoreChangeWatch(RegistryStore& store, QWidget& window, std::function<bool()> reloadAllowed,
                      std::function<void()> reload);

    // Reloads when another program committed since the last look, unless a dialog, a menu or a
    // store session is open just now; then a later look does it.
    void lookAtStore();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool windowFree() const;
    std::int64_t readCounter() const;   // -1 when the store cannot be asked just now

    RegistryStore& store_;
    QWidget& window_;
    std::function<bool()> reloadAllowed_;
    std::function<void()> reload_;
    QTimer* timer_;
    std::int64_t seen_;
};

}  // namespace keystead
