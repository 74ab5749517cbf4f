#pragma once
// The PowerPoint object model as the program calls it: a presentation bound
// by its file name, its application and the count of its slides. Every
// failed call raises AutomationError (number, description). The engine
// behind it reads PowerPoint 97-2003 presentations and never writes them.
#include <memory>
#include <string>

namespace automation::powerpoint {

class Application;

class Slides {
public:
    virtual ~Slides() = default;
    // Every slide of the presentation's slide list, hidden ones included.
    virtual long Count() const = 0;
};

class Presentation {
public:
    virtual ~Presentation() = default;
    virtual std::string Name() const = 0;      // file name without folder
    virtual std::string FullName() const = 0;  // full path
    virtual Slides& GetSlides() = 0;
    // Closes the presentation; nothing is ever written to its file. Later
    // calls on it raise an error.
    virtual void Close() = 0;
    virtual std::shared_ptr<Application> GetApplication() = 0;
};

class Application {
public:
    virtual ~Application() = default;
    virtual long PresentationCount() const = 0;
    // 1-based position among the open presentations; 9 "Subscript out of
    // range" when there is none at `index`.
    virtual std::shared_ptr<Presentation> Presentations(long index) = 0;
};

}  // namespace automation::powerpoint
