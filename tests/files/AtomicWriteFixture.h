// The atomic writers' fixture: the three file writers of the program, and the real
// file calls with one of them made to fail.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "FileTestSupport.h"
#include "ScriptedPrompter.h"
#include "files/Myfile.h"

// The real calls with one of them made to fail, or made awkward but workable.
class FaultyCalls : public FileCalls {
 public:
  enum class Fault { FailWriteAfter, WriteReturnsZero, ShortWrites, InterruptOnce, FailSync, FailRename };

  FaultyCalls(Fault fault, std::size_t after = 0) : fault_(fault), after_(after) {}

  ssize_t Write(int fd, const char* data, std::size_t size) override {
    switch (fault_) {
      case Fault::FailWriteAfter:
        if (written_ + size > after_) {
          // Part of the bytes land, then the disk is full.
          const std::size_t part = after_ - written_;
          written_ = after_;
          if (part > 0) return FileCalls::Write(fd, data, part);
          errno = ENOSPC;
          return -1;
        }
        break;
      case Fault::WriteReturnsZero:
        return 0;
      case Fault::ShortWrites:
        size = std::min<std::size_t>(size, 1000);
        break;
      case Fault::InterruptOnce:
        if (!interrupted_) {
          interrupted_ = true;
          errno = EINTR;
          return -1;
        }
        break;
      default:
        break;
    }
    written_ += size;
    return FileCalls::Write(fd, data, size);
  }
  int Sync(int fd) override {
    if (fault_ == Fault::FailSync) {
      errno = EIO;
      return -1;
    }
    return FileCalls::Sync(fd);
  }
  int Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
    if (fault_ == Fault::FailRename) {
      errno = EXDEV;
      return -1;
    }
    return FileCalls::Rename(from, to);
  }

 private:
  Fault fault_;
  std::size_t after_;
  std::size_t written_ = 0;
  bool interrupted_ = false;
};

using Fault = FaultyCalls::Fault;

class AtomicWrite : public testing::Test {
 protected:
  void SetUp() override {
    buffers->Bind(data);
    data.ad_dnum = 65536;  // more than one buffer of bytes, so writing fails midway
    data.deltaF = 0.5F;
    for (int i = 0; i < data.ad_dnum; ++i) data.volt[i] = static_cast<float>(i) * 1e-6F;
  }
  enum Writer { kSettings, kData, kSpectrum };
  static constexpr Writer kWriters[] = {kSettings, kData, kSpectrum};

  // One writer into the target, agreeing to replace it.
  bool Save(Writer writer, FileCalls& calls) {
    TmyFile file(prompter, calls);
    SaveSetting save;
    save.DataFileName = target.string();
    prompter.answers = {true};
    switch (writer) {
      case kSettings:
        return file.SaveSettingFile(target, kSettingFileHeader, fft, save, ad);
      case kData:
        return file.SaveDataFile(kDataFileHeader, ad, data, fft, save) == WriteResult::Written;
      case kSpectrum:
        return file.SaveFftFile(kFftFileHeader, ad, data, fft, save) == WriteResult::Written;
    }
    return false;
  }

  TempDir dir;
  fs::path target = dir / "target";
  ScriptedPrompter prompter;
  std::unique_ptr<MeasureBuffers> buffers = std::make_unique<MeasureBuffers>();
  MeasureData data;
  AdUnitSetting ad;
  FftSetting fft;
};
