#pragma once

#include "app/randomnumber.h"

#include <cstdint>
#include <random>
#include <stdexcept>
#include <vector>

namespace doorsel::test {

// Hands out the given draws in order and counts them; running out is a test error.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> draws)
        : draws_(std::move(draws))
    {
    }
    float uniform() override
    {
        if (used_ >= draws_.size())
            throw std::logic_error("more draws than the test scripted");
        return draws_[used_++];
    }
    size_t used() const { return used_; }

private:
    std::vector<float> draws_;
    size_t used_ = 0;
};

// A fixed-seed generator, so statistical tests give the same result on every run.
class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(std::uint32_t seed)
        : engine_(seed)
    {
    }
    float uniform() override { return static_cast<float>(engine_() >> 8) * 0x1p-24f; }

private:
    std::mt19937 engine_;
};

} // namespace doorsel::test
