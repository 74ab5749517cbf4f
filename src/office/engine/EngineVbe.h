#pragma once
// The macro editor of an engine instance: one project per open workbook, in
// the order the workbooks were opened, each over the workbook's
// MacroProjectState. Handles find their component again by a stable id, so
// renaming through one handle is seen by all.
#include <memory>

#include "automation/Vbe.h"
#include "office/engine/WorkbookCore.h"

namespace office::engine {

class EngineCodeModule final : public automation::vbe::CodeModule {
public:
    EngineCodeModule(std::shared_ptr<WorkbookCore> core, std::uint64_t id) : core_(std::move(core)), id_(id) {}
    void AddFromString(const std::string& text) override;
    long CountOfLines() const override;
    std::string Lines(long startLine, long count) const override;

private:
    std::shared_ptr<WorkbookCore> core_;
    std::uint64_t id_;
};

class EngineVbComponent final : public automation::vbe::VBComponent {
public:
    EngineVbComponent(std::shared_ptr<WorkbookCore> core, std::uint64_t id) : core_(core), id_(id), code_(core, id) {}
    std::string Name() const override;
    void SetName(const std::string& name) override;
    automation::vbe::ComponentType Type() const override;
    automation::vbe::CodeModule& GetCodeModule() override;

private:
    std::shared_ptr<WorkbookCore> core_;
    std::uint64_t id_;
    EngineCodeModule code_;
};

class EngineVbComponents final : public automation::vbe::VBComponents {
public:
    explicit EngineVbComponents(std::shared_ptr<WorkbookCore> core) : core_(std::move(core)) {}
    long Count() const override;
    std::shared_ptr<automation::vbe::VBComponent> Item(long index) override;
    std::shared_ptr<automation::vbe::VBComponent> Item(const std::string& name) override;
    std::shared_ptr<automation::vbe::VBComponent> Add(automation::vbe::ComponentType type) override;

private:
    std::shared_ptr<WorkbookCore> core_;
};

class EngineVbProject final : public automation::vbe::VBProject {
public:
    explicit EngineVbProject(std::shared_ptr<WorkbookCore> core) : core_(core), components_(core) {}
    std::string FileName() const override;
    std::string Name() const override;
    void SetName(const std::string& name) override;
    automation::vbe::ProjectProtection Protection() const override;
    automation::vbe::VBComponents& GetVBComponents() override;

    const std::shared_ptr<WorkbookCore>& core() const { return core_; }

private:
    std::shared_ptr<WorkbookCore> core_;
    EngineVbComponents components_;
};

class EngineVbe final : public automation::vbe::VBE {
public:
    explicit EngineVbe(std::shared_ptr<ApplicationState> state) : state_(state), projects_(state) {}
    automation::vbe::VBProjects& GetVBProjects() override;
    std::shared_ptr<automation::vbe::VBProject> ActiveVBProject() override;
    void SetActiveVBProject(const std::shared_ptr<automation::vbe::VBProject>& project) override;
    void LockActiveVBProject(const std::string& password) override;

private:
    class Projects final : public automation::vbe::VBProjects {
    public:
        explicit Projects(std::shared_ptr<ApplicationState> state) : state_(std::move(state)) {}
        long Count() const override;
        std::shared_ptr<automation::vbe::VBProject> Item(long index) override;

    private:
        std::shared_ptr<ApplicationState> state_;
    };

    std::shared_ptr<WorkbookCore> activeCore() const;

    std::shared_ptr<ApplicationState> state_;
    Projects projects_;
};

}  // namespace office::engine
