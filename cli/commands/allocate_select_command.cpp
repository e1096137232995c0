// `tavrel-cli allocate-select`: "Allocate Select" for one school. The items (classes, resources or
// subjects) and the categories are tagged by name, the switches of the options step are given or
// kept as stored, and the run adds the tagged incomplete indents to the existing timetable.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/run_choices.h"
#include "cli/school_option.h"
#include "core/engine/allocate_select.h"

namespace tavrel::cli {

namespace {

struct AllocateSelectOptions {
  std::string school;
  std::string list = "class";
  std::vector<std::string> items;
  bool allItems = false;
  std::vector<std::string> categories;
  bool allCategories = false;
  std::optional<bool> subjectPerDay;
  std::optional<bool> resourcePerClassDay;
  std::optional<bool> resourcePerDay;
  std::optional<bool> continuity;
  bool clusterPermission = false;
  RunChoices run;
};

const std::map<std::string, engine::SelectList> kLists = {
    {"class", engine::SelectList::Class},
    {"resource", engine::SelectList::Resource},
    {"subject", engine::SelectList::Subject},
};

// The items named, in the order given; a name the list does not hold is refused.
Result<std::vector<engine::SelectItem>> taggedItems(const std::vector<engine::SelectItem>& listed,
                                                    const AllocateSelectOptions& options) {
  if (options.allItems) return listed;
  std::vector<engine::SelectItem> tagged;
  for (const std::string& name : options.items) {
    auto found = std::find_if(listed.begin(), listed.end(),
                              [&](const engine::SelectItem& item) { return item.name == name; });
    if (found == listed.end()) return Error{"There is no " + options.list + " named " + name + "."};
    tagged.push_back(*found);
  }
  return tagged;
}

// The category names as the list shows them, whatever their case.
std::vector<std::string> taggedCategories(const AllocateSelectOptions& options) {
  if (options.allCategories) return engine::selectCategories();
  std::vector<std::string> tagged;
  for (std::string name : options.categories) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
    tagged.push_back(name);
  }
  return tagged;
}

Status allocateSelect(shell::Application& application, const AllocateSelectOptions& options,
                      std::ostream& out) {
  auto school = selectSchool(application, options.school);
  if (!school) return Error{school.error()};
  engine::SelectSettings settings;
  settings.seed = options.run.seed;
  settings.rearrangeLimit = options.run.rearrangeLimit();
  engine::AllocateSelect select(application.session(), enginePorts(application), settings);
  const engine::SelectList list = kLists.at(options.list);
  auto tagged = taggedItems(select.items(list), options);
  if (!tagged) return Error{tagged.error()};
  if (!select.tagItems(list, *tagged)) return Error{"Nothing was allocated."};
  if (!select.tagCategories(taggedCategories(options))) return Error{"Nothing was allocated."};

  engine::AllocationOptions switches = engine::allocationOptions(application.session());
  switches.subjectPerDay = options.subjectPerDay.value_or(switches.subjectPerDay);
  switches.resourcePerClassDay = options.resourcePerClassDay.value_or(switches.resourcePerClassDay);
  switches.resourcePerDay = options.resourcePerDay.value_or(switches.resourcePerDay);
  switches.continuity = options.continuity.value_or(switches.continuity);
  switches.clusterPermission = options.clusterPermission;
  const engine::SelectOutcome outcome = select.allocate(switches);
  switch (outcome.end) {
    case engine::SelectEnd::Refused:
      return Error{"Nothing was allocated."};
    case engine::SelectEnd::Review:
      return Error{"Nothing was allocated: review the allocation settings."};
    case engine::SelectEnd::Stopped:
    case engine::SelectEnd::Done:
      break;
  }
  out << outcome.allocated << "/" << outcome.tagged << " periods allocated, " << outcome.failed
      << " failed, in " << outcome.indents << " indents.\n"
      << "Seed: " << outcome.seed << "\nTime elapsed: " << outcome.elapsed << "\n";
  if (outcome.end == engine::SelectEnd::Stopped) return Error{"Stopped. What was allocated stays."};
  return {};
}

void addSwitch(CLI::App* command, const std::string& name, std::optional<bool>& value,
               const std::string& caption) {
  command->add_option(name, value, "\"" + caption + "\" (default: as stored)")
      ->type_name("on|off")
      ->check(CLI::IsMember({"on", "off"}));
}

}  // namespace

void registerAllocateSelectCommand(CLI::App& tool, CliContext& context) {
  auto options = std::make_shared<AllocateSelectOptions>();
  CLI::App* command = tool.add_subcommand("allocate-select",
                                          "Allocate Select: add the incomplete active indents of tagged "
                                          "items and categories to a school's timetable");
  command->add_option("--school", options->school, "Name of the school")->required()->type_name("NAME");
  command
      ->add_option("--list", options->list, "Which items to tag: class, resource or subject (default: class)")
      ->type_name("KIND")
      ->check(CLI::IsMember({"class", "resource", "subject"}));
  auto* items =
      command->add_option("--item", options->items, "Name of an item to tag (repeatable)")->type_name("NAME");
  auto* allItems =
      command->add_flag("--all-items", options->allItems, "Tag every item of the list (\"Select All\")");
  items->excludes(allItems);
  std::string categories;
  for (const std::string& category : engine::selectCategories())
    categories +=
        (categories.empty() ? "" : ", ") + category + " (" + engine::categoryLetters(category) + ")";
  auto* cats =
      command->add_option("--category", options->categories, "Category to tag (repeatable): " + categories)
          ->type_name("NAME")
          ->check(CLI::IsMember(engine::selectCategories(), CLI::ignore_case));
  auto* allCats = command->add_flag("--all-categories", options->allCategories, "Tag every category");
  cats->excludes(allCats);
  addSwitch(command, "--subject-per-day", options->subjectPerDay,
            "Apply For Class Per Day upper limit of Subject");
  addSwitch(command, "--resource-per-class-day", options->resourcePerClassDay,
            "Apply For Class Per Day upper limit of Resource");
  addSwitch(command, "--resource-per-day", options->resourcePerDay, "Apply Per Day upper limit of Resource");
  addSwitch(command, "--continuity", options->continuity, "Apply Resource continuity sequence upper limit");
  command->add_flag("--cluster-permission", options->clusterPermission,
                    "\"Apply Cluster Permission for Regular Indents\" (default: off)");
  addRunChoices(*command, options->run);
  command->callback([&context, options] {
    context.runWithApplication([&context, options](shell::Application& application) {
      return allocateSelect(application, *options, context.out());
    });
  });
}

}  // namespace tavrel::cli
