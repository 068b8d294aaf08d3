#pragma once
// Function libraries: objects that know a list of function names and compute them, offered
// every call the expression parser does not evaluate itself. A run context keeps its installed
// libraries in registration order and a list of function descriptions (name, category and
// text) for a function list.
#include <functional>
#include <memory>
#include <vector>

#include <QString>
#include <QStringList>
#include <QVariant>

class TrpRunContext;

class TrpFunctionLibrary {
public:
    explicit TrpFunctionLibrary(TrpRunContext& context) : context_(context) {}
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
    // Records a description of one of this library's functions in the context's list.
    void AddFunctionDesc(const QString& functionName, const QString& category, const QString& description);

    // The context the library is installed in: its parser evaluates the parameters.
    TrpRunContext& Context() const { return context_; }

    QStringList List;   // the function names, in function number order

protected:
    // A parameter text evaluated by the context's parser.
    QVariant Evaluate(const QVariant& parameter) const;
    QString EvaluateText(const QVariant& parameter) const;
    // Raises EParserError unless the call has from least to most parameters, none of the first
    // least of them blank.
    void CheckParameters(int functionNo, const QVariant& p1, const QVariant& p2, const QVariant& p3, int least,
                         int most) const;

private:
    TrpRunContext& context_;
};

// Blank: a parameter left out (the parser hands "" for a missing one).
bool IsBlankParameter(const QVariant& parameter);
// The number of parameters a call was written with: the last one that is not blank counts,
// and as the parser leaves a fourth and later ones in the third, more than three count as 4.
int ParameterCount(const QVariant& p1, const QVariant& p2, const QVariant& p3);

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

// A library class: its name and how to make one for a context.
struct TrpFunctionLibraryClass {
    QString ClassName;
    std::function<std::unique_ptr<TrpFunctionLibrary>(TrpRunContext&)> Create;
};

// The libraries every context installs when it is made: the standard library, then the
// database library (StandardObjects.cpp lists them).
std::vector<TrpFunctionLibraryClass> StandardFunctionLibraries();

// Makes and appends a library to the context's FunctionLibraries unless one of that class is
// installed already.
void RegisterFunctionLibrary(TrpRunContext& context, const TrpFunctionLibraryClass& libraryClass);
// Removes the library of that class with its function descriptions, and frees it.
void UnregisterFunctionLibrary(TrpRunContext& context, const QString& className);
// Hands a function description to the context's installed-functions list.
void AddFunctionDescription(TrpRunContext& context, const TrpFunctionLibrary& library, const QString& name,
                            const QString& category, const QString& description);
