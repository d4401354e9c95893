#pragma once

#include <QList>
#include <QString>

namespace vornak {

// A named part of a data module or form. The owner does not free its components (it holds them
// itself); it only knows them in declaration order so that it can finish loading them.
class TComponent {
public:
    explicit TComponent(TComponent *owner = nullptr);
    virtual ~TComponent();
    TComponent(const TComponent &) = delete;
    TComponent &operator=(const TComponent &) = delete;

    QString Name;

    TComponent *Owner() const { return owner_; }
    // True while the owner is being loaded and this component has not been told it is loaded.
    bool IsLoading() const { return loading_; }

    // Loading an owner: components created between these two calls are loading; EndLoading tells
    // each of them, in declaration order, that loading is complete.
    void BeginLoading() { loading_ = true; }
    void EndLoading();

protected:
    // Called once loading is complete; components carry out what they deferred (open, connect).
    virtual void Loaded() { loading_ = false; }

private:
    TComponent *owner_ = nullptr;
    QList<TComponent *> components_;
    bool loading_ = false;
};

}  // namespace vornak
