#include "WindowRegistry.h"

WindowRegistry::~WindowRegistry() {
    unloadAll();
}

void WindowRegistry::registerFactory(const QString& name, Factory factory) {
    m_factories.insert(name, std::move(factory));
}

QWidget* WindowRegistry::get(const QString& name) {
    if (QWidget* w = existing(name)) {
        return w;
    }
    const auto it = m_factories.constFind(name);
    if (it == m_factories.cend()) {
        return nullptr;
    }
    QWidget* w = (*it)(m_ctx);
    if (w) {
        w->setObjectName(name);
    }
    m_instances.insert(name, w);
    return w;
}

QWidget* WindowRegistry::existing(const QString& name) const {
    const auto it = m_instances.constFind(name);
    return it == m_instances.cend() ? nullptr : it->data();
}

void WindowRegistry::unload(const QString& name) {
    const QPointer<QWidget> w = m_instances.take(name);
    if (w) {
        w->hide();
        w->deleteLater();
    }
}

void WindowRegistry::unloadAll() {
    const auto instances = std::exchange(m_instances, {});
    for (const QPointer<QWidget>& w : instances) {
        delete w.data();
    }
}
