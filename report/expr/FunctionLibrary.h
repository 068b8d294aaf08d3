#pragma once
// Function libraries: objects that know a list of function names and compute them, offered
// every call the expression parser does not evaluate itself. The engine keeps the registered
// libraries in registration order and a list of function descriptions (name, category and
// text) for a function list.
#include <functional>
#include <memory>
#include <vector>

#include <QString>
#include <QStringList>
#include <QVariant>

class TrpFunctionLibrary {
public:
    TrpFunctionLibrary() = default;
    virtual ~TrpFunctionLibrary() = default;
    TrpFunctionLibrary(const TrpFunctionLibrary&) = delete;
    TrpFunctionLibrary& operator=(const TrpFunctionLibrary&) = delete;

    // The name the registry knows the library's class by.
    virtual QString ClassName() const = 0;
    // When name is in List (ignoring case): CallFunction with its index, and true. The
    // parameters are the texts of the call's parameter expressions, unevaluated.
    bool TryCallFunction(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                         QVariant& value);
    virtual void CallFunction(int functionNo, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                              QVariant& value) = 0;
    // Records a description of one of this library's functions in the engine's list.
    void AddFunctionDesc(const QString& functionName, const QString& category, const QString& description);

    QStringList List;   // the function names, in function number order
};

struct TrpFunctionDesc {
    QString LibraryClass;
    QString FunctionName;
    QString Category;
    QString Description;   // the call's syntax, "/", and the explanation
};

class TrpInstalledFunctions {
public:
    // Adds an entry unless the category is empty or an entry of exactly that name exists.
    void Add(const TrpFunctionLibrary& library, const QString& name, const QString& category,
             const QString& description);
    // Removes every entry of the library's class.
    void RemoveLibrary(const TrpFunctionLibrary& library);
    const std::vector<TrpFunctionDesc>& Items() const { return items_; }

private:
    std::vector<TrpFunctionDesc> items_;
};

// A library class: its name and how to make one.
struct TrpFunctionLibraryClass {
    QString ClassName;
    std::function<std::unique_ptr<TrpFunctionLibrary>()> Create;
};

// Makes and appends a library unless one of that class is registered already.
void RegisterFunctionLibrary(const TrpFunctionLibraryClass& libraryClass);
// Removes the library of that class with its function descriptions, and frees it.
void UnregisterFunctionLibrary(const QString& className);
const std::vector<std::unique_ptr<TrpFunctionLibrary>>& FunctionLibraries();
// Hands a function description to the engine's installed-functions list.
void AddFunctionDescription(const TrpFunctionLibrary& library, const QString& name, const QString& category,
                            const QString& description);
