#pragma once
// The run variables that point into reports, pages, bands and objects (CurrentReport,
// RootReport, CurrentPage, CurrentBand, CurrentView) are set for the length of a scope and get
// back what they held on every way out, an exception included: none goes on pointing at an
// object after the work that set it has ended, whatever frees that object later.
#include <exception>

class TrpRunContext;
class TrpView;

template <typename T>
class [[nodiscard]] TrpCurrentScope {
public:
    TrpCurrentScope(T*& variable, T* value) : variable_(variable), saved_(variable) { variable_ = value; }
    // Keeps the value for now; the scope's work sets it as it goes.
    explicit TrpCurrentScope(T*& variable) : variable_(variable), saved_(variable) {}
    ~TrpCurrentScope() { variable_ = saved_; }
    TrpCurrentScope(const TrpCurrentScope&) = delete;
    TrpCurrentScope& operator=(const TrpCurrentScope&) = delete;

private:
    T*& variable_;
    T* const saved_;
};

// CurrentView for the length of a scope. An exception leaving the scope notes the object's name
// and text first (the innermost object it leaves), so that the error message composed by a catch
// further out, where CurrentView has its earlier value back, still names the object that failed.
class [[nodiscard]] TrpViewScope {
public:
    TrpViewScope(TrpRunContext& context, TrpView* view);
    ~TrpViewScope();
    TrpViewScope(const TrpViewScope&) = delete;
    TrpViewScope& operator=(const TrpViewScope&) = delete;

private:
    TrpRunContext& context_;
    TrpView* const view_;
    TrpView* const saved_;
    const int exceptions_ = std::uncaught_exceptions();
};
