#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

class AppContext;

// The single instance of every window, created on first use from a registered factory and
// destroyed on unload. Windows of folders above the engine register their factories here
// (app/main.cpp and each test), so the main window can open them without including them.
class WindowRegistry {
public:
    using Factory = std::function<QWidget*(AppContext&)>;

    explicit WindowRegistry(AppContext& ctx) : m_ctx(ctx) {}
    ~WindowRegistry();

    void registerFactory(const QString& name, Factory factory);
    bool has(const QString& name) const { return m_factories.contains(name); }

    // The instance, created on first use; nullptr when no factory is registered.
    QWidget* get(const QString& name);
    template <class T>
    T* get(const QString& name) {
        return qobject_cast<T*>(get(name));
    }
    // The instance when it exists, without creating it.
    QWidget* existing(const QString& name) const;
    bool isLoaded(const QString& name) const { return existing(name) != nullptr; }

    // Destroys the instance (later, so a window may unload itself from its own handler);
    // the next get() builds a fresh one.
    void unload(const QString& name);
    void unloadAll();

private:
    AppContext& m_ctx;
    QHash<QString, Factory> m_factories;
    QHash<QString, QPointer<QWidget>> m_instances;
};
