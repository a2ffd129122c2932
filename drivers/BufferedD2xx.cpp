#include "drivers/BufferedD2xx.h"

#include <new>
#include <string>
#include <system_error>
#include <utility>

// One unit of work for the I/O thread. It lives on the caller's stack; the caller
// waits until done is set, so the I/O thread never touches it afterwards.
struct BufferedD2xx::Command {
  enum class Kind { kSetTransferSize, kWrite, kPurge, kClose };
  Kind kind;
  std::uint32_t value = 0;                // transfer size or purge mask
  std::span<const std::uint8_t> bytes{};  // what to write
  FT_STATUS result = FT_OK;
  bool done = false;
};

BufferedD2xx::BufferedD2xx(std::unique_ptr<ByteSource> source, DriverLog log, std::size_t ringCapacity)
    : source_(std::move(source)), log_(std::move(log)), ringCapacity_(ringCapacity) {}

BufferedD2xx::~BufferedD2xx() {
  bool open = false;
  {
    std::lock_guard lock(mutex_);
    open = open_;
  }
  if (open) Close();
}

FT_STATUS BufferedD2xx::Open() {
  {
    std::lock_guard lock(mutex_);
    if (open_) {
      log_("the device is already open");
      return FT_DEVICE_NOT_OPENED;
    }
  }
  try {
    ring_.emplace(ringCapacity_);
    chunk_.assign(kMaxTransferSize, 0);
  } catch (const std::bad_alloc&) {
    ring_.reset();
    chunk_ = {};
    log_("no memory for the receive buffer of " + std::to_string(ringCapacity_) + " bytes");
    return FT_INSUFFICIENT_RESOURCES;
  }
  const FT_STATUS opened = source_->Open();
  if (opened != FT_OK) {
    ring_.reset();
    chunk_ = {};
    return opened;
  }
  fault_ = RxFault::kNone;
  droppedBytes_ = 0;
  transferSize_ = kDefaultTransferSize;
  try {
    thread_ = std::thread(&BufferedD2xx::IoLoop, this);
  } catch (const std::system_error& error) {
    source_->Close();
    ring_.reset();
    chunk_ = {};
    log_(std::string("cannot start the USB reading thread: ") + error.what());
    return FT_INSUFFICIENT_RESOURCES;
  }
  std::lock_guard lock(mutex_);
  open_ = true;
  return FT_OK;
}

FT_STATUS BufferedD2xx::Close() {
  Command command{Command::Kind::kClose};
  {
    std::unique_lock lock(mutex_);
    if (!open_) return FT_INVALID_HANDLE;
    // From here on every other call sees a closed driver; commands posted before
    // this one are still performed, in order.
    open_ = false;
    commands_.push_back(&command);
    commandPosted_.notify_one();
    commandDone_.wait(lock, [&] { return command.done; });
  }
  thread_.join();
  std::lock_guard lock(mutex_);
  ring_.reset();
  chunk_ = {};
  return command.result;
}

FT_STATUS BufferedD2xx::SetUSBParameters(std::uint32_t inTransferSize, std::uint32_t /*outTransferSize*/) {
  if (inTransferSize < kMinTransferSize || inTransferSize > kMaxTransferSize ||
      inTransferSize % kMinTransferSize != 0) {
    log_("invalid USB transfer size " + std::to_string(inTransferSize));
    return FT_INVALID_PARAMETER;
  }
  Command command{Command::Kind::kSetTransferSize, inTransferSize};
  return Perform(command);
}

FT_STATUS BufferedD2xx::Purge(std::uint32_t mask) {
  if ((mask & ~(FT_PURGE_RX | FT_PURGE_TX)) != 0) return FT_INVALID_PARAMETER;
  Command command{Command::Kind::kPurge, mask};
  return Perform(command);
}

FT_STATUS BufferedD2xx::Write(const void* bytes, std::uint32_t n, std::uint32_t& written) {
  written = 0;
  if (bytes == nullptr && n > 0) return FT_INVALID_PARAMETER;
  Command command{Command::Kind::kWrite};
  command.bytes = {static_cast<const std::uint8_t*>(bytes), n};
  const FT_STATUS status = Perform(command);
  if (status == FT_OK) written = n;
  return status;
}

FT_STATUS BufferedD2xx::GetQueueStatus(std::uint32_t& queued) {
  queued = 0;
  std::lock_guard lock(mutex_);
  if (!open_) return FT_INVALID_HANDLE;
  if (fault_ != RxFault::kNone) return RxFaultStatus();
  // The ring is far smaller than 4 GiB, so its fill level fits.
  queued = static_cast<std::uint32_t>(ring_->Size());
  return FT_OK;
}

FT_STATUS BufferedD2xx::Read(void* buffer, std::uint32_t n, std::uint32_t& read) {
  read = 0;
  if (buffer == nullptr && n > 0) return FT_INVALID_PARAMETER;
  std::lock_guard lock(mutex_);
  if (!open_) return FT_INVALID_HANDLE;
  if (fault_ != RxFault::kNone) return RxFaultStatus();
  read = static_cast<std::uint32_t>(ring_->Pop({static_cast<std::uint8_t*>(buffer), n}));
  return FT_OK;
}

FT_STATUS BufferedD2xx::Perform(Command& command) {
  std::unique_lock lock(mutex_);
  if (!open_) return FT_INVALID_HANDLE;
  commands_.push_back(&command);
  commandPosted_.notify_one();
  commandDone_.wait(lock, [&] { return command.done; });
  return command.result;
}

void BufferedD2xx::IoLoop() {
  for (;;) {
    Command* command = nullptr;
    {
      std::unique_lock lock(mutex_);
      // After a failed read the source is not read again until a purge succeeds.
      if (fault_ == RxFault::kSourceError) commandPosted_.wait(lock, [&] { return !commands_.empty(); });
      if (!commands_.empty()) {
        command = commands_.front();
        commands_.pop_front();
      }
    }
    if (command == nullptr) {
      ReadIntoRing();
      continue;
    }
    const bool closing = command->kind == Command::Kind::kClose;
    const FT_STATUS result = Execute(*command);
    {
      std::lock_guard lock(mutex_);
      command->result = result;
      command->done = true;
    }
    commandDone_.notify_all();
    if (closing) return;
  }
}

FT_STATUS BufferedD2xx::Execute(const Command& command) {
  switch (command.kind) {
    case Command::Kind::kSetTransferSize: {
      const FT_STATUS status = source_->SetTransferSize(command.value);
      if (status == FT_OK) transferSize_ = command.value;
      return status;
    }
    case Command::Kind::kWrite:
      return source_->Write(command.bytes);
    case Command::Kind::kPurge:
      return ExecutePurge(command.value);
    case Command::Kind::kClose:
      source_->Close();
      return FT_OK;
  }
  return FT_OTHER_ERROR;
}

FT_STATUS BufferedD2xx::ExecutePurge(std::uint32_t mask) {
  const bool rx = (mask & FT_PURGE_RX) != 0;
  const FT_STATUS flushed = source_->Flush(rx, (mask & FT_PURGE_TX) != 0);
  if (!rx) return flushed;
  std::uint64_t dropped = 0;
  {
    std::lock_guard lock(mutex_);
    ring_->Clear();
    dropped = droppedBytes_;
    if (flushed == FT_OK) {
      fault_ = RxFault::kNone;
      droppedBytes_ = 0;
    } else {
      // Stale bytes may still sit in the device: keep refusing received data.
      fault_ = RxFault::kSourceError;
    }
  }
  if (dropped > 0) log_("receive buffer overflow ended by a purge; " + std::to_string(dropped) + " bytes were dropped");
  return flushed;
}

void BufferedD2xx::ReadIntoRing() {
  std::size_t got = 0;
  const FT_STATUS status = source_->ReadSome(std::span(chunk_).first(transferSize_), got);
  std::string problem;
  {
    std::lock_guard lock(mutex_);
    if (status != FT_OK) {
      fault_ = RxFault::kSourceError;
      problem = "reading from the device failed; received data is refused until the next purge";
    } else if (fault_ == RxFault::kOverflow) {
      droppedBytes_ += got;
    } else {
      const std::size_t stored = ring_->Push(std::span(chunk_).first(got));
      if (stored < got) {
        fault_ = RxFault::kOverflow;
        droppedBytes_ = got - stored;
        problem = "receive buffer of " + std::to_string(ring_->Capacity()) +
                  " bytes overflowed; received data is refused until the next purge";
      }
    }
  }
  if (!problem.empty()) log_(problem);
}

FT_STATUS BufferedD2xx::RxFaultStatus() const {
  return fault_ == RxFault::kOverflow ? FT_INSUFFICIENT_RESOURCES : FT_IO_ERROR;
}
