// An in-memory key tree for the spooler's tests: keys and value names matched without regard to
// case, subkeys listed in the order they were made, commits that can be made to fail.
#pragma once

#include "platform/host/spooler_registry.h"

#include <algorithm>
#include <map>
#include <utility>

namespace tl::host::test {

class MemorySpoolerRegistry final : public SpoolerRegistry {
public:
    bool KeyExists(std::string_view path) const override { return keys_.count(Fold(path)) != 0; }

    std::vector<std::string> SubKeys(std::string_view path) const override {
        auto key = keys_.find(Fold(path));
        if (key == keys_.end()) {
            return {};
        }
        return key->second.children;
    }

    std::optional<SpoolerValue> GetValue(std::string_view path,
                                         std::string_view name) const override {
        auto key = keys_.find(Fold(path));
        if (key == keys_.end()) {
            return std::nullopt;
        }
        for (const auto& [valueName, value] : key->second.values) {
            if (Fold(valueName) == Fold(name)) {
                return value;
            }
        }
        return std::nullopt;
    }

    bool CreateKey(std::string_view path) override {
        std::string folded = Fold(path);
        if (keys_.count(folded) != 0) {
            return true;
        }
        std::size_t cut = path.rfind('\\');
        if (cut != std::string_view::npos) {
            CreateKey(path.substr(0, cut));
            keys_[Fold(path.substr(0, cut))].children.emplace_back(path.substr(cut + 1));
        }
        keys_[folded];
        ++changes_;
        return true;
    }

    bool SetValue(std::string_view path, std::string_view name, SpoolerValue value) override {
        CreateKey(path);
        auto& values = keys_[Fold(path)].values;
        ++changes_;
        for (auto& [valueName, stored] : values) {
            if (Fold(valueName) == Fold(name)) {
                stored = std::move(value);
                return true;
            }
        }
        values.emplace_back(std::string(name), std::move(value));
        return true;
    }

    bool DeleteValue(std::string_view path, std::string_view name) override {
        auto key = keys_.find(Fold(path));
        if (key == keys_.end()) {
            return true;
        }
        auto& values = key->second.values;
        std::erase_if(values, [&](const auto& entry) { return Fold(entry.first) == Fold(name); });
        ++changes_;
        return true;
    }

    bool DeleteKey(std::string_view path) override {
        const std::string folded = Fold(path);
        std::erase_if(keys_, [&](const auto& entry) {
            return entry.first == folded || entry.first.starts_with(folded + "\\");
        });
        const std::size_t cut = path.rfind('\\');
        if (cut != std::string_view::npos) {
            auto parent = keys_.find(Fold(path.substr(0, cut)));
            if (parent != keys_.end())
                std::erase_if(parent->second.children, [&](const std::string& child) {
                    return Fold(child) == Fold(path.substr(cut + 1));
                });
        }
        ++changes_;
        return true;
    }

    bool Commit() override {
        if (failCommits) {
            Discard();
            return false;
        }
        committed_ = keys_;
        ++commits;
        return true;
    }

    void Discard() override { keys_ = committed_; }

    bool failCommits = false;
    int commits = 0;

private:
    struct Key {
        std::vector<std::string> children;
        std::vector<std::pair<std::string, SpoolerValue>> values;
    };

    static std::string Fold(std::string_view text) {
        std::string folded(text);
        std::transform(folded.begin(), folded.end(), folded.begin(), [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        });
        return folded;
    }

    std::map<std::string, Key> keys_;
    std::map<std::string, Key> committed_;
    int changes_ = 0;
};

} // namespace tl::host::test
