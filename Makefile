# solvo-printer-mgr: a thin wrapper over CMake + Ninja. `make help` lists the targets.
SHELL := /bin/bash
BUILD_DIR ?= build
PREFIX    ?= /usr
DESTDIR   ?=
CTEST_ARGS ?=
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 600
FUZZ_SMOKE_SECONDS ?= 10
BENCH_RUNS ?= 7

# Debian packages needed to build, test and run (and to measure).
PACKAGES := build-essential cmake ninja-build pkg-config clang clang-format \
  libclang-rt-14-dev libgtk2.0-dev libx11-dev gettext libgtest-dev libbenchmark-dev \
  xvfb xdotool x11-utils x11-apps imagemagick lprng psmisc procps iproute2 util-linux \
  desktop-file-utils valgrind debhelper dpkg-dev fakeroot lintian man-db locales \
  pkexec polkitd dbus-daemon dbus-system-bus-common ansible-core openssh-server \
  libavahi-client-dev libavahi-glib-dev avahi-daemon avahi-utils samba smbclient \
  translate-toolkit fonts-wqy-microhei

.PHONY: help deps configure build run test install screenshot bench fuzz fuzz-smoke format clean

help:
	@echo "make deps        install the Debian packages needed (apt-get; quick when all are there)"
	@echo "make build       configure with CMake (Ninja) and build into $(BUILD_DIR)/"
	@echo "make run         deps + build, then start the program in a seeded sandbox"
	@echo "                 (on your display when DISPLAY is set, else a screenshot is saved)"
	@echo "make test        deps + build, then run every test (unit, gui and system in the sandbox;"
	@echo "                 the .deb built, lintian-checked and installed there with polkit;"
	@echo "                 fleet/ applied over SSH to three simulated thin clients;"
	@echo "                 crash kills, system faults, gui under valgrind, fuzz smoke;"
	@echo "                 Find and Browse against a second LPRng host, Avahi and smbd;"
	@echo "                 every catalogue through msgfmt and pofilter, every window in every language)"
	@echo "make fuzz        run every libFuzzer target for FUZZ_SECONDS=$(FUZZ_SECONDS) each"
	@echo "make fuzz-smoke  the same for FUZZ_SMOKE_SECONDS=$(FUZZ_SMOKE_SECONDS) each (part of make test)"
	@echo "make screenshot  remake the pictures in docs/ under the sandbox's Xvfb"
	@echo "make bench       every benchmark against its baseline, one table (BENCH_RUNS=$(BENCH_RUNS) runs)"
	@echo "                 and the fleet rollout against ansible -m ping on simulated clients"
	@echo "                 (FLEET_CLIENTS=\"10 30\" clients, FLEET_ROUNDS=3 rounds, the least of each)"
	@echo "make install     install under PREFIX=$(PREFIX) (honours DESTDIR)"
	@echo "                 (the fleet playbooks go to PREFIX/share/solvo-printer-mgr/fleet/)"
	@echo "make pot         renew po/solvo-printer-mgr.pot from the sources and merge it (msgmerge)"
	@echo "                 into every language of po/LINGUAS (README: Translations)"
	@echo "make deb         build the Debian package from a copy of the tree into $(BUILD_DIR)/deb/"
	@echo "make format      clang-format every C++ file"
	@echo "make clean       remove $(BUILD_DIR)/"

# The fleet test runs sshd inside its sandbox only: installing openssh-server must not start one
# here, now (a policy-rc.d of ours refuses it for the time of the install; so for samba's and
# avahi-daemon's services, which the find test also runs in its sandbox only) or at the next boot
# (Debian's ssh service does not start while /etc/ssh/sshd_not_to_be_run exists; remove that
# file to use this machine's sshd).
deps:
	@missing=""; \
	  for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${db:Status-Status}' $$p 2>/dev/null | grep -qx installed || missing="$$missing $$p"; \
	  done; \
	  if [ -n "$$missing" ]; then \
	    echo "Installing:$$missing"; \
	    policy=/usr/sbin/policy-rc.d; ours=""; \
	    case " $$missing " in *" openssh-server "*) \
	      mkdir -p /etc/ssh && touch /etc/ssh/sshd_not_to_be_run;; \
	    esac; \
	    case " $$missing " in *" openssh-server "*|*" samba "*|*" avahi-daemon "*) \
	      if [ ! -e $$policy ]; then printf '#!/bin/sh\nexit 101\n' > $$policy && chmod 755 $$policy && ours=1; fi;; \
	    esac; \
	    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	    status=$$?; [ -z "$$ours" ] || rm -f $$policy; exit $$status; \
	  fi

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_INSTALL_PREFIX=$(PREFIX)

configure: $(BUILD_DIR)/build.ninja

build: configure
	ninja -C $(BUILD_DIR)

run: deps build
	@if [ -n "$$DISPLAY" ]; then \
	  tests/sandbox/sandbox --seed --host-display -- $(BUILD_DIR)/solvo-printer-mgr; \
	else \
	  tests/sandbox/sandbox --seed --xvfb -- tests/sandbox/screenshot \
	    $(BUILD_DIR)/solvo-printer-mgr $(CURDIR)/$(BUILD_DIR)/run-screenshot.png && \
	  echo "No DISPLAY: the window was shown on the sandbox's Xvfb; see $(BUILD_DIR)/run-screenshot.png"; \
	fi

test: deps build
	cd $(BUILD_DIR) && ctest --output-on-failure $(CTEST_ARGS)
	$(MAKE) --no-print-directory fuzz-smoke

$(FUZZ_DIR)/build.ninja:
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DSPM_BUILD_FUZZ=ON -DSPM_BUILD_TESTS=OFF \
	  -DSPM_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug

# Each reader's fuzz target for a bounded time, from its seed corpus; a crash fails the run.
fuzz-smoke fuzz: $(FUZZ_DIR)/build.ninja
	ninja -C $(FUZZ_DIR)
	@seconds=$(if $(filter fuzz,$@),$(FUZZ_SECONDS),$(FUZZ_SMOKE_SECONDS)); \
	  for target in $(FUZZ_DIR)/tests/fuzz/fuzz_*; do \
	    [ -x "$$target" ] || continue; \
	    name=$$(basename $$target); corpus=tests/fuzz/corpus/$${name#fuzz_}; \
	    mkdir -p $$corpus $(FUZZ_DIR)/corpus/$$name; \
	    echo "== $$name for $$seconds s"; \
	    $$target -max_total_time=$$seconds -print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/ \
	      $(FUZZ_DIR)/corpus/$$name $$corpus 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY' \
	      ; test $${PIPESTATUS[0]} -eq 0 || exit 1; \
	  done

screenshot: build
	tests/sandbox/sandbox --seed --xvfb -- tests/sandbox/screenshot \
	  $(BUILD_DIR)/solvo-printer-mgr $(CURDIR)/docs/main-window.png $(CURDIR)/docs

bench: deps build
	bash bench/run.sh $(BUILD_DIR) $(BENCH_RUNS)

install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD_DIR) --prefix $(PREFIX)

.PHONY: pot deb
pot:
	po/extract.sh

deb: deps
	debian/build-deb.sh $(BUILD_DIR)/deb

format:
	find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
